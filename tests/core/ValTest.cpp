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
    const struct {
        const char* text;
        double grams;         // 0: no weight
        const char* problem;  // a piece of weightProblem's text
    } cases[] = {
        {"2.5", 2.5, ""},          {" 1500 ", 1500, ""},
        {".5", 0.5, ""},           {"7.", 7, ""},
        {"0.001", 0.001, ""},      {"2,5", 0, "comma"},
        {"1,500", 0, "comma"},     {"", 0, "blank"},
        {"   ", 0, "blank"},       {"0", 0, "above 0"},
        {"-3", 0, "above 0"},      {"-0", 0, "above 0"},
        {"+5", 0, "plain number"}, {"1e3", 0, "plain"},
        {"nan", 0, "plain"},       {"inf", 0, "plain"},
        {"0x10", 0, "plain"},      {"12kg", 0, "plain"},
        {"1.2.3", 0, "plain"},     {".", 0, "plain"},
        {"1 000", 0, "plain"},     {"\xef\xbc\x92", 0, "plain"},  // full-width 2
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const std::optional<double> grams = dye::readWeight(text);
        const QString problem = dye::weightProblem(text);
        if (c.grams > 0) {
            EXPECT_EQ(grams, c.grams) << c.text;
            EXPECT_EQ(problem, QString()) << c.text;
        } else {
            EXPECT_FALSE(grams) << c.text;
            EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem))) << c.text;
        }
    }
}
