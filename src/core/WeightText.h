#pragma once

#include <QString>

#include <optional>

namespace dye {

// A recipe weight as text: a plain decimal number of grams, digits with at
// most one point for decimals, spaces around ignored, above 0. A comma is
// never read (in this trade it is as often a thousands separator as a
// decimal mark); neither is a sign, an exponent, a hex or nan/inf word, or a
// unit. Every check of a job and every dose decision reads weights here, so
// that a weight the checks pass is the weight that is dosed.
std::optional<double> readWeight(const QString& text);

// What keeps `text` from being a weight: None when it is one.
enum class WeightFault { None, Blank, Comma, NotANumber, NotAboveZero };
WeightFault weightFault(const QString& text);

}  // namespace dye
