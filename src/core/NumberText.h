#pragma once

#include <QString>

namespace dye {

// A number as the screens show it: no exponent for everyday magnitudes, no
// trailing zeros, up to 15 significant digits, and never "-0".
QString numberText(double value);

}  // namespace dye
