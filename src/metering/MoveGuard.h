#pragma once

#include <QString>

namespace dye {

struct StationState;

// Why a move by hand (a slot click, homing, a move entry, a conveyor output)
// must not act now: a transfer, a metering, a wash, a move to a slot or the
// axis-zero routine runs, or an axis is still moving. Empty when the machine
// is free for it.
QString moveRefusal(const StationState& state);

}  // namespace dye
