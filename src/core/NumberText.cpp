#include "NumberText.h"

#include <cmath>

namespace dye {

QString numberText(double value) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    value += 0.0;  // turns -0 into 0
    QString text = QString::number(value, 'g', 15);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

}  // namespace dye
