#include <gtest/gtest.h>

#include "files/jobs/RecipeCheck.h"
#include "files/settings/MachineSettings.h"

namespace dye {
namespace {

MachineSettings settingsWithValves() {
    MachineSettings s;
    s.setText4(0, QStringLiteral("R-101"));
    s.setText4(1, QStringLiteral("Y-202"));
    s.setText4(23, QStringLiteral("B-324"));
    return s;
}

JobRecord recipe(std::initializer_list<std::pair<const char*, const char*>> rows) {
    JobRecord r;
    r.OrderNo = QStringLiteral("A-1");
    int i = 0;
    for (auto [code, weight] : rows) {
        r.Code[size_t(i)] = QString::fromUtf8(code);
        r.Weight[size_t(i)] = QString::fromUtf8(weight);
        ++i;
    }
    return r;
}

// What a weight may be is WeightText's (ValTest); here each row is judged
// and named on its own.
TEST(RecipeCheck, EveryRowIsCheckedOnItsOwn) {
    const MachineSettings s = settingsWithValves();
    const struct {
        JobRecord job;
        const char* problem;  // a piece of the message; "" for a recipe that passes
    } cases[] = {
        {recipe({{"R-101", "120"}, {"", ""}, {" B-324 ", "0.5"}}), ""},
        {recipe({{"R-101", "120"}, {"X-999", "5"}}), "Row 2: X-999 is not the code of any valve"},
        {recipe({{"R-101", "120"}, {"Y-202", ""}}), "Row 2: the code Y-202 has no weight"},
        {recipe({{"R-101", "120"}, {"", ""}, {"", "7"}}), "Row 3: the weight \"7\" has no code"},
        {recipe({{"R-101", "10"}, {"", ""}, {"Y-202", "2,5"}}),
         "Row 3 (Y-202): the weight \"2,5\" has a comma; write the weight with a point for "
         "decimals"},
        {recipe({{"R-101", "250000"}}), "more than the 100000 g a bucket can be weighed with"},
        {recipe({}), "The recipe has no lines"},
    };
    for (const auto& c : cases) {
        const QString problem = recipeProblem(c.job, s, kEnglish);
        if (*c.problem == 0)
            EXPECT_EQ(problem, QString()) << c.job.Code[0].toStdString();
        else
            EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem))) << problem.toStdString();
    }
    JobRecord noOrder = recipe({{"R-101", "1"}});
    noOrder.OrderNo = QStringLiteral("   ");
    EXPECT_TRUE(recipeProblem(noOrder, s, kEnglish).startsWith(QStringLiteral("No order number")));
}

TEST(RecipeCheck, TextTheFilesCannotHoldIsRefused) {
    JobRecord r = recipe({{"R-101", "1"}});
    EXPECT_EQ(unstorableText(r, kEnglish), QString());
    r.OrderNo = QStringLiteral("訂單一二三四五六七八九十");  // 24 bytes in Big5
    EXPECT_TRUE(
        unstorableText(r, kEnglish).contains(QStringLiteral("24 bytes long; the field holds 20")));
    r.OrderNo = QStringLiteral("A-1");
    r.Code[0] = QStringLiteral("R\uD55C1");  // Hangul has no Big5 bytes
    EXPECT_TRUE(unstorableText(r, kEnglish).startsWith(QStringLiteral("Row 1: the code")));
    r.Code[0] = QStringLiteral("R-101");
    r.Weight[0] = QStringLiteral("1.234567890");
    EXPECT_TRUE(unstorableText(r, kEnglish).contains(QStringLiteral("the field holds 10")));
}

TEST(RecipeCheck, BucketMustBeAPlaceOnMachinesThatMoveIt) {
    MachineSettings s;
    TeachSlot slot;
    slot.name = QStringLiteral("B7");
    s.setTeachSlot(7, slot);
    s.setText1(5, QStringLiteral("1"));
    EXPECT_EQ(bucketProblem(QStringLiteral(" B7 "), s, kEnglish), QString());
    EXPECT_TRUE(
        bucketProblem(QStringLiteral("B8"), s, kEnglish).contains(QStringLiteral("not a place")));
    EXPECT_FALSE(bucketProblem(QString(), s, kEnglish).isEmpty());
    s.setText1(5, QStringLiteral("2"));
    EXPECT_EQ(bucketProblem(QStringLiteral("B8"), s, kEnglish), QString());
    EXPECT_FALSE(bucketProblem(QStringLiteral(" "), s, kEnglish).isEmpty());
}

// Water is no water, or a plain number of grams a bucket can be weighed with.
TEST(RecipeCheck, WaterIsAPlainAmountTheBalanceCanWeigh) {
    for (const char* ok : {"", " ", "0", "0.0", "1500", "12000.5", "100000"})
        EXPECT_EQ(waterProblem(QString::fromUtf8(ok), kEnglish), QString()) << ok;
    for (const char* bad : {"1e9", "-1000", "abc", "1,5", "100000.5", "0x10", "nan"})
        EXPECT_TRUE(
            waterProblem(QString::fromUtf8(bad), kEnglish).startsWith(QStringLiteral("the water")))
            << bad;
}

}  // namespace
}  // namespace dye
