#pragma once

#include <QString>

namespace dye {

struct StationState;

// Why a manual move (slot click, homing, move entry, conveyor output) must
// not act now: a job is on the machine, a metering, a wash, the robot check
// or homing runs, or an axis is busy. Empty when the machine is free to move.
QString moveRefusal(const StationState& state);

// The refusal as the operator reads it: "No move: <why>." in the station's language.
QString noMoveText(const StationState& state, const QString& why);

}  // namespace dye
