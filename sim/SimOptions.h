#pragma once

#include <QString>

#include <array>

namespace dye {

// The physical constants of the simulated machine, in one place so that
// calibration work can tune them. Weights are raw balance counts, rates
// counts per second, times milliseconds unless the name says otherwise.
struct SimPhysics {
    // Each valve's true rate is its nominal rate × (1 + e), e drawn once per
    // valve from [-rateError, +rateError].
    double rateError = 0.05;
    // Delay between a valve command and the flow starting / stopping.
    int valveOpenLatencyMs = 40;
    int valveCloseLatencyMs = 20;
    // Water keeps running this long after its valve has closed: the pipe
    // between the valve and the bucket empties (2000 counts at the default
    // water rate).
    int waterRunOnMs = 4000;
    // Each closing of a water pipe runs on longer by a time drawn from
    // [0, waterRunOnSpreadMs] with the seed, so that no two top-ups end
    // alike. Water through valve 1 (D851) comes by a pipe of its own that
    // runs on for valve1WaterRunOnMs, with the same spread.
    int waterRunOnSpreadMs = 200;
    int valve1WaterRunOnMs = 1000;
    // An opening valve (product or water) does not give its full rate at
    // once: the flow rises evenly from nothing to the full rate over this
    // time after it starts. With the latencies, a timed opening of n
    // hundredths delivers rate x (n/100 s - dead time), dead time = open
    // latency - close latency + ramp / 2 (30 ms by default), as long as it
    // flows for the whole ramp; a shorter one delivers less than that, and
    // one no longer than open - close latency delivers nothing.
    int valveRampMs = 20;
    // Each product valve is its own: drawn once per valve from the seed,
    // - its fall: the pipe below it runs on for 0..valveFallMs after it
    //   closes, at the valve's rate (none by default: the run tests meter
    //   by the described rule, whose first lines a fall pushes past a 2 g
    //   tolerance; the metering bench sets 60 ms);
    // - its noise: every opening flows at its rate x (1 + n), n drawn per
    //   opening from [-s, +s], s drawn per valve from [0, valveRateNoise];
    // - its drift: its rate moves by d x sin(pi/2 x t / valveDriftShiftMs)
    //   over the shift, d drawn per valve from [-valveDrift, +valveDrift].
    int valveFallMs = 0;
    double valveRateNoise = 0.01;
    double valveDrift = 0.03;
    qint64 valveDriftShiftMs = 8LL * 3600 * 1000;
    // Reading noise (± counts, uniform) while something pours into or drains
    // out of a balance. When the flow stops the noise fades evenly to nothing
    // over settleMs, and a balance at rest then reads steady, as a filtered
    // industrial balance does, apart from restNoiseCounts.
    double noiseCounts = 2.0;
    int settleMs = 500;
    double restNoiseCounts = 0.0;
    // Weight of an empty bucket standing on each balance before any tare.
    double bucketTare = 800.0;
    // Water valve (D985, D842, or D851 when water goes through valve 1).
    double waterRate = 500.0;
    // Emptying of bucket 1 by the conveyor motor (D847) or the drain (D903):
    // the outflow is the smaller of drainRate and (content - drainResidual)
    // / drainTailMs, so a full bucket empties at drainRate and the last of it
    // runs off ever more slowly. A drained bucket keeps drainResidual counts
    // (what clings to its walls). drainTailMs 0: full rate down to the residual.
    double drainRate = 3000.0;
    int drainTailMs = 1000;
    double drainResidual = 10.0;
    // Time from the end of a request frame to the first character of the answer.
    int replyLatencyUs = 3000;
    // Axis travel: positions run from 0 (home) to axisTravel (limit).
    int axisTravel = 32000;
    // The pipe head counts as at its lower end at Z positions from here on.
    int pipeDownZ = 1000;
    // Lane ready buttons (D276/D277): pressed all the time, or only when
    // pressLaneReady() is called (cleared again by the lane's go signal).
    bool laneReadyAuto = true;
};

// Faults to inject. Rates are fractions of replies (0..1), drawn per reply.
struct SimFaults {
    double dropReplies = 0.0;     // the reply is lost on the line
    double shortReplies = 0.0;    // the reply is cut off after a random length
    double corruptReplies = 0.0;  // one character of the reply is changed
    double lateReplies = 0.0;     // the reply comes lateReplyUs later than usual
    qint64 lateReplyUs = 200'000;
    bool silent = false;  // the controller neither hears nor answers
    // A silent spell on the simulator's clock (in process, the station's
    // time): from silentFromMs on, for silentForMs (below 0: for good), the
    // controller is silent as above. silentFromMs below 0: no spell.
    qint64 silentFromMs = -1;
    qint64 silentForMs = -1;
    // Valves (index 0 = valve 1) that open but let nothing through.
    std::array<bool, 24> stuckValves{};
    // A clogged outlet: the conveyor motor and the drain valve run, but the
    // bucket keeps its content.
    bool drainBlocked = false;

    // Whether the controller is silent at `us` microseconds on its clock.
    bool silentAtUs(qint64 us) const {
        if (silent) return true;
        if (silentFromMs < 0 || us < silentFromMs * 1000) return false;
        return silentForMs < 0 || us < (silentFromMs + silentForMs) * 1000;
    }
};

struct SimOptions {
    // Machine type 1..5 as the station's settings record 6 gives it.
    int machineType = 1;
    // Valves of station 1 on twin-balance machines (settings record 12).
    int valvesPerStation = 12;
    // Nominal rates (counts per second) of valves 1..24, as in the valve table.
    std::array<double, 24> nominalRates = filledRates(100.0);
    // Balance (1 or 2) each valve pours into; 0 = by machine type.
    std::array<int, 24> valveBalance{};
    // Water goes through valve 1 (D851) instead of its product rate.
    bool waterOnValve1 = false;
    // Content already in the bucket on balance 1 / 2 at start.
    std::array<double, 2> initialLoad{};
    SimPhysics physics;
    SimFaults faults;
    quint64 seed = 1;

    static std::array<double, 24> filledRates(double rate) {
        std::array<double, 24> r;
        r.fill(rate);
        return r;
    }
};

// Reads the nominal rates from `dir`/AA_Name.txt (records 25..48, 200-byte
// fixed-width text fields in the ANSI code page). A valve whose record is
// missing or empty keeps the rate it had. False when the file is absent.
bool loadValveRates(const QString& dir, SimOptions& options);

// Reads the machine type (record 6) and the valves per station (record 12)
// from `dir`/JUCIsetting.txt where they hold a number. False when the file
// is absent.
bool loadMachineSettings(const QString& dir, SimOptions& options);

}  // namespace dye
