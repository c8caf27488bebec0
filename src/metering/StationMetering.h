#pragma once

#include <QString>

#include <functional>

namespace dye {

class Dialogs;
struct StationState;

// The two metering stations on Form2.Timer2 (100 ms): one tick handles
// station 1 and then station 2. A metering brings a balance from its zero to
// a target through one valve: a long opening stopped short of the target,
// then timed pulses computed from the valve's rate and corrected by what the
// previous pulse delivered. An alarm parks only the station that raised it.
class StationMetering {
public:
    using Log = std::function<void(const QString&)>;
    StationMetering(StationState& state, Dialogs& dialogs, Log log);

    void tick();

private:
    StationState& s_;
    Dialogs& dialogs_;
    Log log_;
};

// Starts a metering on station 1 or 2: valve, zero (the balance reading, or
// the held zero), target, then step 1. What the run and the manual target
// entries do.
void startMetering(StationState& state, int station, int valve, const QString& target);

}  // namespace dye
