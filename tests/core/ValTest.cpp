#include <gtest/gtest.h>

#include "core/Val.h"

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
