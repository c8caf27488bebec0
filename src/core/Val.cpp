#include "Val.h"

#include <cmath>
#include <limits>
#include <string>

namespace dye {

double Val(const QString& text) {
    // Collect sign, digits, one decimal point and an exponent; blanks between
    // them are skipped, as the classic leading-number parse does.
    std::string number;
    bool seenDigit = false;
    bool seenPoint = false;
    bool seenExponent = false;
    bool exponentDigits = false;
    for (QChar qc : text) {
        char16_t c = qc.unicode();
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        if (c >= '0' && c <= '9') {
            number += char(c);
            if (seenExponent)
                exponentDigits = true;
            else
                seenDigit = true;
        } else if ((c == '+' || c == '-') &&
                   (number.empty() || (seenExponent && number.back() == 'e'))) {
            number += char(c);
        } else if (c == '.' && !seenPoint && !seenExponent) {
            number += '.';
            seenPoint = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seenDigit && !seenExponent) {
            number += 'e';
            seenExponent = true;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;
    if (seenExponent && !exponentDigits) {
        // "12e" or "12e-": the exponent is incomplete and ignored.
        number.erase(number.find('e'));
    }
    double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

qint64 ValInt(const QString& text) {
    double v = std::round(Val(text));
    constexpr double lo = double(std::numeric_limits<qint32>::min());
    constexpr double hi = double(std::numeric_limits<qint32>::max());
    if (v < lo) return qint64(lo);
    if (v > hi) return qint64(hi);
    return qint64(v);
}

}  // namespace dye
