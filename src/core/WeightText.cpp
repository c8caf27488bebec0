#include "WeightText.h"

#include <QRegularExpression>

#include <cmath>

namespace dye {
namespace {

using Fault = WeightFault;

Fault judge(const QString& text, double* grams) {
    // An optional minus only so that "-3" is told apart as a number below 0.
    static const QRegularExpression plain(QStringLiteral("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString t = text.trimmed();
    if (t.isEmpty()) return Fault::Blank;
    if (t.contains(QLatin1Char(','))) return Fault::Comma;
    if (!plain.match(t).hasMatch()) return Fault::NotANumber;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return Fault::NotANumber;
    if (!(v > 0.0)) return Fault::NotAboveZero;
    *grams = v;
    return Fault::None;
}

}  // namespace

std::optional<double> readWeight(const QString& text) {
    double grams = 0.0;
    if (judge(text, &grams) != Fault::None) return std::nullopt;
    return grams;
}

WeightFault weightFault(const QString& text) {
    double grams = 0.0;
    return judge(text, &grams);
}

}  // namespace dye
