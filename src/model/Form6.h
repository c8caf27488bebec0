#pragma once

#include <QString>

namespace dye {

class Timer;

// The identifier entry screen: one box the operator types or scans an
// identifier into; Enter dispatches on the site profile. Timer1 empties the
// box once; Timer2 waits for the QUORBAN category choice.
struct Form6 {
    bool Visible = false;
    QString Text1;
    bool focusText1 = false;  // the view gives Text1 the focus when set
    Timer* Timer1 = nullptr;
    Timer* Timer2 = nullptr;
};

}  // namespace dye
