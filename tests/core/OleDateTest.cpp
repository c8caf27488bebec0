#include <gtest/gtest.h>

#include "core/OleDate.h"

using namespace dye;

TEST(OleDate, KnownValuesBothWays) {
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    EXPECT_DOUBLE_EQ(toOleDate(epoch), 0.0);
    EXPECT_DOUBLE_EQ(toOleDate(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    EXPECT_DOUBLE_EQ(toOleDate(QDateTime(QDate(2026, 12, 6), QTime(12, 0))), 46362.5);
    EXPECT_DOUBLE_EQ(toOleDate(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(fromOleDate(46362.5), QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    EXPECT_EQ(fromOleDate(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    const QDateTime t(QDate(2026, 1, 31), QTime(23, 59, 59));
    EXPECT_EQ(fromOleDate(toOleDate(t)), t);  // the round trip keeps the second
}

TEST(OleDate, OnlyTheYears100To9999AreDatesAndNaNIsNone) {
    EXPECT_EQ(fromOleDate(-657434.0), QDateTime(QDate(100, 1, 1), QTime(0, 0)));
    EXPECT_EQ(fromOleDate(-657434.5), QDateTime(QDate(100, 1, 1), QTime(12, 0)));
    EXPECT_EQ(fromOleDate(2958465.5), QDateTime(QDate(9999, 12, 31), QTime(12, 0)));
    // Past either end, up to values no integer can hold, a value is no date.
    for (double bad :
         {-657435.0, 2958466.0, 1e19, -1e19, 1e300, -1e300, std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(fromOleDate(bad).isValid()) << bad;
}
