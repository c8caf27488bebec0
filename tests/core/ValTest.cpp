#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "core/Val.h"
#include "core/WeightText.h"

using dye::Val;
using dye::ValInt;

TEST(Val, ParsesTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val("12.5kg"), 12.5);
    EXPECT_DOUBLE_EQ(Val(""), 0.0);
    EXPECT_DOUBLE_EQ(Val("abc"), 0.0);
    EXPECT_DOUBLE_EQ(Val(" -3"), -3.0);
    EXPECT_DOUBLE_EQ(Val("  45  "), 45.0);
    EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(Val("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(Val("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(Val("12e"), 12.0);
    EXPECT_DOUBLE_EQ(Val("-"), 0.0);
    EXPECT_DOUBLE_EQ(Val("+7x"), 7.0);
    EXPECT_DOUBLE_EQ(Val("1 000"), 1000.0);  // blanks inside are skipped
    EXPECT_DOUBLE_EQ(Val("1e999"), 0.0);     // out of range reads 0, not infinity
}

TEST(Val, WholeNumbersRoundHalfAwayAndClamp) {
    EXPECT_EQ(ValInt("2.5"), 3);
    EXPECT_EQ(ValInt("-2.5"), -3);
    EXPECT_EQ(ValInt("99999999999"), 2147483647);
}

// Numbers from files become integers only within their range: a value no
// integer holds (1e19 of water, 1e308 of a machine type), NaN and infinity
// give an end of the range or 0, never an undefined conversion.
TEST(Val, WholeWithinKeepsEveryDoubleInRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(dye::wholeWithin(2.9, 0, 10), 2);
    EXPECT_EQ(dye::wholeWithin(-2.9, -10, 10), -2);
    EXPECT_EQ(dye::wholeWithin(1e19, -1000, 1000), 1000);
    EXPECT_EQ(dye::wholeWithin(-1e308, -1000, 1000), -1000);
    EXPECT_EQ(dye::wholeWithin(inf, 0, 5), 5);
    EXPECT_EQ(dye::wholeWithin(nan, -5, 5), 0);
    EXPECT_EQ(dye::wholeWithin(nan, 1, 5), 1);  // 0 is outside: the nearest end
    const qint64 top = std::numeric_limits<qint64>::max();
    const qint64 bottom = std::numeric_limits<qint64>::min();
    EXPECT_EQ(dye::wholeWithin(9.3e18, bottom, top), top);
    EXPECT_EQ(dye::wholeWithin(-9.3e18, bottom, top), bottom);
    EXPECT_EQ(dye::intWithin(1e308), std::numeric_limits<int>::max());
    EXPECT_EQ(dye::intWithin(Val("1e308"), 1, 123), 123);
}

// Plain decimals take a short way; it must read every one as the full
// parse (strtod of the collected number) does, to the last bit.
TEST(Val, PlainDecimalsReadExactlyAsTheFullParse) {
    std::mt19937 random(5);
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += char('0' + random() % 10);
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string whole = digits(int(random() % 12));
        const std::string fraction = digits(int(random() % 10));
        const bool point = !fraction.empty() || random() % 2;
        std::string number = (random() % 3 == 0 ? "-" : "") + whole + (point ? "." : "") + fraction;
        if (whole.empty() && fraction.empty()) continue;
        const std::string text = (random() % 2 ? " " : "") + number + (random() % 2 ? "kg" : "");
        const double expected = std::strtod(number.c_str(), nullptr);
        EXPECT_EQ(Val(QString::fromStdString(text)), expected) << text;
    }
    // Past 15 digits, with an exponent or a sign that is not leading: the full parse.
    EXPECT_EQ(Val("1234567890123456789"), 1234567890123456789.0);
    EXPECT_EQ(Val("0.1234567890123456789"), 0.1234567890123456789);
    EXPECT_EQ(Val("2.5e-3"), 0.0025);
    EXPECT_EQ(Val("5-3"), 5.0);
    EXPECT_TRUE(std::signbit(Val("-0")));
}

// A weight reads only as a plain decimal number with a point, above 0; what
// Val would read from the rest ("2,5" as 2, "1e3" as 1000) is no weight.
TEST(WeightText, OnlyAPlainNumberWithAPointAboveZeroIsAWeight) {
    using F = dye::WeightFault;
    const struct {
        const char* text;
        double grams;  // 0: no weight
        F fault;
    } cases[] = {
        {"2.5", 2.5, F::None},       {" 1500 ", 1500, F::None},
        {".5", 0.5, F::None},        {"7.", 7, F::None},
        {"0.001", 0.001, F::None},   {"2,5", 0, F::Comma},
        {"1,500", 0, F::Comma},      {"", 0, F::Blank},
        {"   ", 0, F::Blank},        {"0", 0, F::NotAboveZero},
        {"-3", 0, F::NotAboveZero},  {"-0", 0, F::NotAboveZero},
        {"+5", 0, F::NotANumber},    {"1e3", 0, F::NotANumber},
        {"nan", 0, F::NotANumber},   {"inf", 0, F::NotANumber},
        {"0x10", 0, F::NotANumber},  {"12kg", 0, F::NotANumber},
        {"1.2.3", 0, F::NotANumber}, {".", 0, F::NotANumber},
        {"1 000", 0, F::NotANumber}, {"\xef\xbc\x92", 0, F::NotANumber},  // full-width 2
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const std::optional<double> grams = dye::readWeight(text);
        EXPECT_EQ(dye::weightFault(text), c.fault) << c.text;
        if (c.grams > 0)
            EXPECT_EQ(grams, c.grams) << c.text;
        else
            EXPECT_FALSE(grams) << c.text;
    }
}
