#pragma once

#include <QtGlobal>

namespace dye {

// A colour as 0xRRGGBB; the views turn it into their own colour type.
using Color = quint32;

constexpr Color rgb(int r, int g, int b) {
    return Color((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

inline constexpr Color kRed = rgb(255, 0, 0);
inline constexpr Color kFormGrey = rgb(240, 240, 240);

}  // namespace dye
