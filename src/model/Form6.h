#pragma once

#include <QString>

namespace dye {

// The identifier entry screen: one box the operator types or scans an
// identifier into; Enter dispatches on the site profile.
struct Form6 {
    bool Visible = false;
    QString Text1;
    bool focusText1 = false;  // the view gives Text1 the focus when set
};

}  // namespace dye
