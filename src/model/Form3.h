#pragma once

#include "model/Color.h"
#include "model/ControlArray.h"

namespace dye {

class Timer;

// The main screen (MainForm). The job on the machine lives in its captions.
struct Form3 {
    QString Label21;      // the scan's diagnostic line
    Captions<8> Label12;  // run diagnostics; Label12(4) shows the robot check state
    QString Label15;      // wash clock
    QString Label16;      // wash weight-watch hold
};

}  // namespace dye
