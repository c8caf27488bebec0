#pragma once

#include "link/RegisterImage.h"
#include "link/Registers.h"

namespace dye {

// The axis blocks D708..D711 (Y), D712..D715 (X) and D716..D719 (Z).
constexpr int kAxisY = reg::AxisY;
constexpr int kAxisX = reg::AxisX;
constexpr int kAxisZ = reg::AxisZ;

// One command to the axis whose block starts at `first`: direction (1 +,
// 2 -), speed (units per second), distance, and mode (1000 a relative move,
// 0 run home and stop at position 0).
inline void commandAxis(RegisterImage& image, int first, int direction, int speed, int distance,
                        int mode) {
    image.set(first, direction);
    image.set(first + 1, speed);
    image.set(first + 2, distance);
    image.set(first + 3, mode);
}

}  // namespace dye
