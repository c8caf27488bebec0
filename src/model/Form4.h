#pragma once

#include "model/Controls.h"

namespace dye {

// The records viewer: browses the daily record files.
struct Form4 {
    QString Caption = QStringLiteral("DATE");
    bool Visible = false;
    // The help text over the search box.
    Label Label1{QStringLiteral(
        "輸入搜索編碼 ENTER 搜索當頁結果  輸入## + 日期 等於搜尋當天 例如 ##02 ##15")};
    Button Command1{QStringLiteral("統計當前用量")};  // total the current usage
};

}  // namespace dye
