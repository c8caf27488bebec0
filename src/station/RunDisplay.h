#pragma once

#include <QString>
#include <array>

#include "station/CurrentJob.h"

namespace dye {

// The face of the run on the main screen: before the first RUN the screen's
// own colours; armed (the options tan); stopped (pink, the lanes say STOP).
enum class RunFace { Idle, Armed, Stopped };

// The blinking of the run indicator while a job is on the machine.
enum class Blink { Off, Yellow, Green };

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

    RunFace face = RunFace::Idle;
    Blink blink = Blink::Off;
    std::array<bool, 2> laneHasRows{};  // a two-balance lane still has rows to dispense
    // The job a stop took off the machine, as it was: the grid keeps showing
    // what is in the bucket until the next RUN or the next job.
    CurrentJob stoppedJob;
};

}  // namespace dye
