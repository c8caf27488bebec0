#pragma once

#include "link/Registers.h"

#include <QtGlobal>

#include <vector>

namespace dye {

struct StationState;

// One lane of the two-balance run: lane 1 meters on station 1 and balance 1,
// lane 2 on station 2 and balance 2, each through its own grid rows.
struct Lane {
    explicit Lane(int n) : number(n) {}

    static constexpr int kFinished = 99;

    int number;                // 1 or 2
    int step = 0;              // the lane's step counter
    int pointer = 0;           // index of the next row in `rows`; 99 once the lane is finished
    std::vector<int> rows;     // the lane's grid rows, in grid order
    int current = -1;          // the row in progress; -1 none
    bool metering = false;     // the current row's metering runs on the lane's station
    double zero = 0;           // the balance reading that metering started from
    double base = 0;           // what the current row already has (earlier buckets)
    double seen = 0;           // what the running metering had put in when last noted
    int progressTicks = 0;     // run ticks since then
    int lastMix = 0;           // type 5: the last dye-mix entry marked
    bool waiting = false;      // waits for its bucket ready signal
    qint64 meteringMs = 0;     // machine time the lane's station metered for the job
    qint64 meteringFrom = -1;  // when the running metering started

    bool finished() const { return step == kFinished; }
    // Rows still to dispense (the lane's label shows its colour meanwhile).
    bool hasRows() const { return step >= 6 && !finished(); }
    void reset() { *this = Lane(number); }

    // The lane's registers: tare command D989 / D993, phase codes D990..D992
    // / D994..D996, go signal D840 / D841.
    int tareRegister() const { return number == 2 ? reg::Tare2 : reg::Tare1; }
    int phaseRegister() const { return number == 2 ? reg::Phase2 : reg::Phase1; }
    int goRegister() const { return number == 2 ? reg::Air2 : reg::Air1; }
};

// The three phase codes of `lane` (D990..D992 or D994..D996).
void lanePhase(StationState& s, const Lane& lane, int a, int b, int c);
// Tares the lane's balance (the lane's tare command), adding what the bucket
// held to what its station's bucket watch counts.
void tareLane(StationState& s, const Lane& lane);
// Every valve of the lane's station switched off.
void closeLaneValves(StationState& s, const Lane& lane);
// The valve the lane opens for grid row `row`. On type 5 the balance is
// chosen by weight, so a product has a valve over each balance carrying its
// code: the lane opens the one on its own station (first match); the job
// start puts a row on a station that carries its code, and a valve of the
// other station (over the other balance) is never opened. Otherwise the
// row's tube.
int laneValve(StationState& s, const Lane& lane, int row);

}  // namespace dye
