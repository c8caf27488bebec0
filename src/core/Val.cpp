#include "Val.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

namespace dye {

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr quint64 kExactMantissa = 1'000'000'000'000'000ULL;  // below 2^53

// The common text (sign, at most 15 significant digits, a decimal point, no
// exponent) without building a string: the digits as a whole number divided
// by a power of ten. Both are exact doubles and the division rounds once,
// so the result is the correctly rounded value strtod gives. Nothing when
// the text needs the full parse.
std::optional<double> plainDecimal(const QString& text) {
    quint64 mantissa = 0;
    int decimals = 0;
    bool negative = false;
    bool seenSign = false;
    bool seenDigit = false;
    bool seenPoint = false;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        if (c >= '0' && c <= '9') {
            if (mantissa >= kExactMantissa / 10) return std::nullopt;
            mantissa = mantissa * 10 + quint64(c - '0');
            seenDigit = true;
            if (seenPoint) ++decimals;
        } else if ((c == '+' || c == '-') && !seenSign && !seenDigit && !seenPoint) {
            seenSign = true;
            negative = c == '-';
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
            if (seenDigit) return std::nullopt;  // an exponent may follow
            break;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;
    if (decimals >= int(std::size(kExactPowers))) return std::nullopt;
    const double magnitude = double(mantissa) / kExactPowers[decimals];
    return negative ? -magnitude : magnitude;
}

}  // namespace

double Val(const QString& text) {
    if (const std::optional<double> quick = plainDecimal(text)) return *quick;
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

qint64 wholeWithin(double value, qint64 lo, qint64 hi) {
    if (std::isnan(value)) value = 0.0;
    // Compared as doubles before any conversion: a value strictly between
    // the ends (each at most 2^63 in size as a double) fits a qint64 once
    // cut toward zero; the clamp catches an end rounded by its conversion.
    if (value <= double(lo)) return lo;
    if (value >= double(hi)) return hi;
    return std::clamp(qint64(std::trunc(value)), lo, hi);
}

int intWithin(double value, int lo, int hi) {
    return int(wholeWithin(value, lo, hi));
}

}  // namespace dye
