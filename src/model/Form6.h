#pragma once

#include <QString>

namespace dye {

// The identifier entry screen: one box the operator types or scans an
// identifier into; Enter dispatches on the site profile.
struct Form6 {
    QString Caption = QStringLiteral("輸入編號");  // the window title, in the station's language
    bool Visible = false;
    QString Text1;
    bool focusText1 = false;  // the view gives Text1 the focus when set
};

}  // namespace dye
