#pragma once

#include <QString>

namespace dye {

// What the run shows beside the job: what the machine is doing now, why the
// run waits, and the counters of the technician view. The run, the wash and
// the status timer write it; JobDisplay projects it onto the main screen.
struct RunDisplay {
    QString indicator;     // the run indicator: zeroing, base water, moving, metering row n ...
    QString waitReason;    // why the run waits, when it cannot go on ("" when it can)
    QString steps;         // the sequence's step counters
    QString rowStep;       // the one-balance run's row step, "n="
    QString transferStep;  // the one-balance run's tick counter (lane 1's step on two balances)
    QString washClock;     // the wash clock, in seconds
    QString washHold;      // the wash's weight-watch hold
    QString idleTicks;     // the status timer's idle ticks (idle mixing)
};

}  // namespace dye
