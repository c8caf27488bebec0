#pragma once

#include <QString>

namespace dye {

struct StationState;

// The window titles and fixed captions the language table has no entries
// for, in `language` (0 Traditional Chinese, 1 English, 2 Simplified
// Chinese): the smaller screens, the order list window's headers and the
// settings screen's own captions.
void ApplyScreenWording(StationState& state, int language);

// Entry k of the captions the station ships with, in `language`; "" for an
// entry it ships none for.
QString shippedCaptionIn(int language, int k);

}  // namespace dye
