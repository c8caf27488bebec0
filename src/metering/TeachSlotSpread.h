#pragma once

namespace dye {

class MachineSettings;

// The teach slots a gantry in one line uses (the 25 of the settings screen).
inline constexpr int kLineSlotCount = 25;

// Spreads the slots of a gantry in one line evenly between slot 1 and slot
// 25: the X of slots 2 to 24 is the previous slot's X plus a 24th of the
// distance from slot 1 to slot 25, cut to a whole number (the largest not
// above it) and written into the slot before the next one is computed from
// it; the Z of slots 2 to 25 becomes that of slot 1. Slot 1, the X of slot
// 25 and every name are kept. The result is only shown; saving the slots
// writes it.
void spreadLineSlots(MachineSettings& settings);

}  // namespace dye
