#pragma once

#include "model/Controls.h"

namespace dye {

// The records viewer: browses the daily record files.
struct Form4 {
    QString Caption = QStringLiteral("DATE");
    bool Visible = false;
    ListBox List2;  // the files of data/
    ListBox List1;  // the records of the chosen file, or the totals lines
    QString Text1;  // search text: an order number, or "##" + day of the month
    // The help text over the search box.
    Label Label1{QStringLiteral(
        "輸入搜索編碼 ENTER 搜索當頁結果  輸入## + 日期 等於搜尋當天 例如 ##02 ##15")};
    // The column headers over List1, in the fixed widths of its lines (or
    // over the totals), and what the list shows: how many records, or that a
    // search matched none.
    Label Label2;
    Label Label3;
    Button Command1{QStringLiteral("統計當前用量")};  // total the current usage
    Button Command2{QStringLiteral("匯出 CSV")};      // export the records shown
};

}  // namespace dye
