#pragma once

namespace dye {

struct StationState;

// The order list window's load. The window is created once for the program's
// life, so only the first call acts: with language 2 (settings field 9) its
// value fields Label1(0..6) and headers Label2(0..3) are converted to
// Simplified characters; any other language keeps them as they are.
void LoadOrderList(StationState& state);

}  // namespace dye
