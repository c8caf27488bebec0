#pragma once

namespace dye {

struct StationState;

// Sends the gantry to teach slot `slot` (1..64): the slot's X, Y and Z go
// into the position triples (old position, new position, difference) and the
// robot check of the scan is started (RobotCheckState = 1), which carries the
// move out axis by axis. The stored positions and the position displays of
// the position screen and the settings form show the slot's position at once.
// A slot outside 1..64 moves nothing.
//
// The robot check first runs Z home and only then moves X, Y and Z by the
// differences of the triples. X and Y therefore move from their stored
// positions (difference = slot position minus stored position), while Z
// moves from home: its difference is the slot's Z itself, whatever Z was
// before.
//
// Positions are taken as whole numbers within 0..32767: an axis never goes
// below its home, and every difference then fits the 16-bit triple without
// wrapping.
void sendGantryToSlot(StationState& state, int slot);

}  // namespace dye
