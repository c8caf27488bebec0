#pragma once

#include <QString>

#include <limits>

namespace dye {

// The leading-number parse every setting and field goes through: the number at
// the start of the text, blanks ignored, anything after it ignored; text that
// does not start with a number reads 0 ("12.5kg" is 12.5, "abc" is 0).
double Val(const QString& text);

// Val rounded to the nearest whole number (halves away from zero), clamped to
// the 32-bit range: what register values and counts are made of.
qint64 ValInt(const QString& text);

// `value` cut toward zero to a whole number and kept within lo..hi: what is
// beyond an end gives that end, NaN gives 0 (or the end nearest 0 when 0 is
// outside the range). Every number from a file, the settings or a screen
// becomes an integer here: a plain cast of a value its type cannot hold is
// undefined behaviour.
qint64 wholeWithin(double value, qint64 lo, qint64 hi);
// The same for an int, by default over the whole int range.
int intWithin(double value, int lo = std::numeric_limits<int>::min(),
              int hi = std::numeric_limits<int>::max());

}  // namespace dye
