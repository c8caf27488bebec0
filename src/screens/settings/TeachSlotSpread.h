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

// Spreads the 64 slots of a gantry over an 8 x 8 grid (row r holds slots
// 8(r-1)+1 .. 8(r-1)+8) from its four corners 1, 8, 57 and 64: first the
// first and last slot of rows 2..7 down the edges, by a seventh of the edge,
// then slots 2..7 of every row along it, by a seventh of the row. The fifth
// slot of a row also gets the X and Y compensation distances, so that it and
// the slots after it in the row carry them. Every value is cut to a whole
// number before the next is computed from it; the Z of every slot becomes
// that of slot 1. X and Y of the corners and every name are kept.
void spreadGridSlots(MachineSettings& settings);

}  // namespace dye
