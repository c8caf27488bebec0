#include "NumberText.h"

#include <cmath>

namespace dye {

QString numberText(double value) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    value += 0.0;  // turns -0 into 0
    // A whole number below 10^15 prints in full at 15 significant digits:
    // its decimal digits alone.
    if (std::abs(value) < 1e15 && std::trunc(value) == value) return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 15);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

}  // namespace dye
