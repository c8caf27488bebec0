#pragma once

#include <QString>

namespace dye {

class Dialogs;
struct StationState;

// The machine types whose buckets are washed on the machine: the one-balance
// machines (1, 3, 4). The twin-balance machines have no wash: type 2 runs no
// wash timer, and type 5 has neither a gantry nor a conveyor to empty the
// bucket.
bool machineWashes(int machineType);

// Why a wash asked for by hand (the main screen's and the settings screen's
// wash buttons) must not start now; empty when it may: the machine type has
// no wash, a job is on the machine (its own wash comes at its end), or a wash
// is running.
QString handWashRefusal(const StationState& state);

// The wash buttons: a wash with the machine settings, the gantry move and the
// in-bucket water steps, or a message saying why not. True when it started.
bool requestHandWash(StationState& state, Dialogs& dialogs);

}  // namespace dye
