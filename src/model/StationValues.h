#pragma once

#include <QtGlobal>

#include <optional>

namespace dye {

// Calibration record of one metering station: what the last pulse was and
// what it delivered, from which the next pulse is corrected.
struct CalRecord {
    double remaining = 0;
    double lastPulse = 0;
    double baseWeight = 0;
    double delta = 0;
    double correction = 0;
};

// The shared values of one metering station (0 when idle). The run, the
// manual target entries and the stop commands start, read and reset a
// station only through these.
struct MeteringStation {
    // 0 idle, 1 zero, 2 settle, 3 method, 4..5 long opening, 6..7 pulses, 8 end
    int StationStep = 0;
    int valve = 0;      // the valve being metered (1..24), fixed when the metering starts
    double zero = 0;    // balance reading taken as zero
    double target = 0;  // target net weight
    std::optional<double> actual;       // net weight; none while the zero is taken
    std::optional<double> finalWeight;  // the net weight when the metering ended
    int StationTicks = 0;               // one count per 100 ms
    int ZeroHold = 0;                   // 1: take zero as "0" (the bucket keeps its content)
    int BucketFull = 0;                 // 1: the bucket must be changed
    int OverTicks = 0;                  // bucket watch
    // What the bucket on the balance held when the balance was last tared,
    // counted from the moment the bucket was put in: the bucket watch adds
    // it to the reading, which starts again from 0 at every tare.
    double tared = 0;
    int StallCount = 0;  // no-flow watch
    int StallPhase = 0;
    double LastActual = 0;
    CalRecord cal;
    int MinOpenTime = 0;
    int OpenValveRegister = 0;  // station 1 only
    double Tolerance2 = 0;      // station 2 only
    // While an alarm message waits for the operator the station is parked:
    // its tick does nothing until the acknowledgement lets it go on.
    bool parked = false;
    // While the controller cannot be reached (or its loss waits for the
    // operator's OK) the station holds; it goes on from a safe step after.
    bool heldByLink = false;
    // Something has been poured in this metering (a long opening or a pulse
    // was commanded): a metering never ends with nothing poured.
    bool poured = false;
    // Pulses in a row that delivered nothing (the no-flow watch of the pulses).
    int emptyPulses = 0;
    // The job's row being metered (0-based); -1 for a metering by hand.
    int row = -1;
    // No-flow alarms of this metering, and whether the operator skipped the
    // row at one: the metering then ended with what the bucket had.
    int noFlowAlarms = 0;
    bool skipped = false;
};

// The shared values of the washing sequence. The run and the wash buttons
// ask for a wash through these calls; the washing sequence works the phase.
struct WashRequest {
    int WashPhase = 0;  // 0 no wash; 1.. the cycle in progress (a request sets 1)
    int WashType1 = 0;  // 1: one cycle only, water always let in
    int WashWater = 0;  // 1: with the gantry move and the in-bucket water steps
    int WashSlot = 0;   // wash table slot 1..64; 0 = the machine settings

    // A wash: the wash table slot whose settings apply (0 = the machine
    // settings), `washWater` 1 for the gantry move and the in-bucket water
    // steps, `type1` 1 for a single cycle that always lets the water in.
    void request(int slot, int washWater, int type1) {
        WashSlot = slot;
        WashWater = washWater;
        WashType1 = type1;
        WashPhase = 1;
    }
    // The wash after a job's rows: the slot the bucket was moved to, without
    // the water steps.
    void afterRows() {
        WashPhase = 1;
        WashWater = 0;
    }
    // The job's final rinse once its top-up water is in: the last cycle only.
    void finalRinse() {
        WashPhase = 10;
        WashWater = 0;
    }
    // No wash wanted or running (the stop commands).
    void cancel() {
        WashPhase = 0;
        WashWater = 0;
    }
    // The single-cycle wash is done with (the pre-wash over, or the menu STOP).
    void endSingleCycle() { WashType1 = 0; }
    bool running() const { return WashPhase != 0; }
};

}  // namespace dye
