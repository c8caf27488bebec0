#pragma once

#include <QtGlobal>

#include <array>

namespace dye {

// One balance as the controller last reported it: the raw counts beside the
// weight they stand for, so that a reading can always be traced back.
struct BalanceInput {
    qint32 raw = 0;         // D190 / D192 as read
    qint32 signWord = 0;    // D274 / D275: 43 while the weight is negative
    double weight = 0;      // signed and scaled; kept from the last fresh reading
    bool negative = false;  // the sign word said 43 at the last reading
    // The last raw reading was 200000 or more: over the range, or (negative)
    // far below the zero.
    bool overload = false;
    // True while the weight comes from a whole answer received since the link
    // was last known good: a stale or overloaded reading never counts.
    bool fresh = false;
    // When the weight's answer came in (station clock, ms; -1 never).
    qint64 readAtMs = -1;
};

// Everything the station reads from the controller, decoded once by the scan
// into values. The sequences decide from these; screens only show them.
struct MachineInputs {
    // [1] balance 1, [2] balance 2 ([0] unused).
    std::array<BalanceInput, 3> balance{};
    // Lane "bucket ready" buttons D276 / D277 ([1], [2]).
    std::array<bool, 3> laneReady{};
    bool yBusy = false;         // D301
    bool xBusy = false;         // D304
    bool zBusy = false;         // D307
    bool pipeHeadDown = false;  // D297 = 1
    // D298..D309 as read: home and limit switches, shown only.
    std::array<qint32, 12> switches{};
    // The axis and pipe-head words are current (a whole answer since the link
    // was last known good). Machine types 4 and 5 never read them.
    bool axesFresh = false;
};

}  // namespace dye
