#pragma once

#include <QString>

namespace dye {

struct StationState;

// A job is on the machine: loaded on the main screen, or a run sequence owns
// the machine. The hand controls that would act on its bucket or its stations
// ask this.
bool jobOnMachine(const StationState& state);

// Why a manual move (slot click, homing, move entry, conveyor output) must
// not act now: a job is on the machine, a metering, a wash, the robot check
// or homing runs, or an axis is busy. Empty when the machine is free to move.
QString moveRefusal(const StationState& state);

}  // namespace dye
