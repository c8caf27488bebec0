#include <gtest/gtest.h>

#include "files/language/ToSimplified.h"

using namespace dye;

TEST(ToSimplified, ConvertsTraditionalCharactersAndLeavesTheRestAlone) {
    EXPECT_EQ(ToSimplified(QStringLiteral("桶號 加水量")), QStringLiteral("桶号 加水量"));
    EXPECT_EQ(ToSimplified(QStringLiteral("<1> 歸零數據")), QStringLiteral("<1> 归零数据"));
    EXPECT_EQ(ToSimplified(QStringLiteral("RUN  ##02")), QStringLiteral("RUN  ##02"));
    EXPECT_EQ(ToSimplified(QStringLiteral("单号")), QStringLiteral("单号"));
    EXPECT_EQ(ToSimplified(QString()), QString());
}
