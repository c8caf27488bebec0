#pragma once

#include <QString>

#include "model/Controls.h"

namespace dye {

// The profile list, opened from the settings screen's "LINK TYPE" button:
// one line per site profile; a click shows its name in Text1 and its
// display name in Text2, from where the operator copies the name.
struct Form8 {
    QString Caption =
        QStringLiteral("工廠資料庫設定");  // the window title, in the station's language
    bool Visible = false;
    ListBox List1;
    QString Text1;
    QString Text2;
};

}  // namespace dye
