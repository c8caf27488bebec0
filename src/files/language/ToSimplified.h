#pragma once

#include <QString>

namespace dye {

// Converts a text to Simplified Chinese characters (Traditional-to-Simplified
// conversion, phrases included). Never fails: when the converter cannot be
// opened or rejects the text, the text is returned unchanged.
QString ToSimplified(const QString& text);

}  // namespace dye
