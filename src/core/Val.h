#pragma once

#include <QString>

namespace dye {

// The leading-number parse every setting and field goes through: the number at
// the start of the text, blanks ignored, anything after it ignored; text that
// does not start with a number reads 0 ("12.5kg" is 12.5, "abc" is 0).
double Val(const QString& text);

// Val rounded to the nearest whole number (halves away from zero), clamped to
// the 32-bit range: what register values and counts are made of.
qint64 ValInt(const QString& text);

}  // namespace dye
