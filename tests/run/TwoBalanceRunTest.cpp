// Jobs on the two-balance machines (types 2 and 5) in virtual time: both
// lanes dispense their rows in parallel on the simulated machine, and the job
// ends with its record and its removal from the queue.
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

#include "files/records/DailyRecordFile.h"
#include "files/settings/MixFiles.h"
#include "run/JobJournal.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

using DispenseGrid::Balance;

class TwoBalanceRun : public RunFixture {
  protected:
    // Type 2, twelve valves per station: A1..A3 on station 1 (valves 1..3),
    // B1..B7 on station 2 (valves 13..19).
    void startType2(std::map<int, QString> fields = {}) {
        for (int v = 1; v <= 3; ++v) valve(v, QStringLiteral("A%1").arg(v), "40");
        for (int v = 1; v <= 7; ++v) valve(12 + v, QStringLiteral("B%1").arg(v), "40");
        fields.try_emplace(5, "2");
        fields.try_emplace(6, "30000");  // largest bucket weight
        fields.try_emplace(7, "2");      // tolerance
        startRun(std::move(fields));
        station->twoBalance().setFinishedObserver([this](const FinishedJob& j) {
            done << j;
            // The buckets as they stand at the end, before the job's end takes them away.
            content = {sim().machine().content(1), sim().machine().content(2)};
        });
    }
    // How often the lane's phase code D990 / D994 carried `code`.
    int phases(int lane, int code) const {
        return int(writtenTo(lane == 2 ? 994 : 990).count(code));
    }

    QList<FinishedJob> done;
    std::array<double, 2> content{};
};

TEST_F(TwoBalanceRun, ASplitJobRunsBothLanesAtOnceAndEndsWithItsRecord) {
    startType2();
    JobRecord j = job("SPLIT", "1", "3000",
                      {{0, {"A1", "300"}},
                       {1, {"B1", "250"}},
                       {2, {"A2", "120"}},
                       {3, {"B2", "400"}},
                       {4, {"A3", "60"}},
                       {5, {"B3", "90"}}});
    j.Tag1 = "T1";
    j.Tag4 = "T4";
    j.QueuedAt = 46000.5;
    queue(j);
    // While both lanes meter, the indicator says each lane's row and product.
    ASSERT_TRUE(runUntil([&] {
        const QString& shown = state().run.indicator;
        return shown.contains(" 1/3 A1") && shown.contains(" 1/3 B1");
    })) << state().run.indicator.toStdString();
    EXPECT_TRUE(state().run.indicator.startsWith("<1> ")) << state().run.indicator.toStdString();
    EXPECT_TRUE(state().run.indicator.contains("   <2> "));
    ASSERT_TRUE(runJob());

    ASSERT_EQ(done.size(), 1);
    const FinishedJob& f = done[0];
    EXPECT_GT(f.laneMeteringMs[0], 0);
    EXPECT_GT(f.laneMeteringMs[1], 0);
    // In parallel: less machine time than the two lanes' meterings one after another.
    EXPECT_LT(f.machineMs, f.laneMeteringMs[0] + f.laneMeteringMs[1]);

    const DailyRecord r = onlyRecord();
    expectDosed(r, {300, 250, 120, 400, 60, 90});
    EXPECT_EQ(r.Code[1], "B1");
    EXPECT_TRUE(
        QRegularExpression("^2026/12/06 \\d\\d:\\d\\d:\\d\\d$").match(r.FinishText).hasMatch())
        << r.FinishText.toStdString();
    EXPECT_EQ(r.Extra[0], "T1");
    EXPECT_EQ(r.Extra[3], "T4");
    EXPECT_NEAR(r.ActualWater.toDouble(), 3000, 600);  // the top-up's run-on
    // The balance-1 bucket holds lane 1's rows and the water; balance 2 lane 2's rows.
    EXPECT_NEAR(content[1], 250 + 400 + 90, 6);
    EXPECT_NEAR(content[0], 300 + 120 + 60 + r.ActualWater.toDouble(), 10);

    EXPECT_EQ(queued(), 0);
    EXPECT_FALSE(state().TransferActive.active());
    EXPECT_TRUE(form3().TOOL.Enabled);
    EXPECT_FALSE(logTexts().contains("< save & end >"));
    EXPECT_FALSE(QFile::exists(JobJournal(QDir(dir.path())).path()));
    station->scheduler.advance(2000);  // a scan pass sends the end's phase codes
    EXPECT_EQ(phases(1, 5), 1);
    EXPECT_EQ(phases(2, 5), 1);
}

// Lane 2 has nothing to do and finishes at its step 6; a job with a code no
// valve carries is set aside before either lane pours.
TEST_F(TwoBalanceRun, RowsOfOneBalanceOnlyAndARowWithoutTube) {
    startType2();
    queue(job("NOPE", "1", "0", {{0, {"A1", "80"}}, {1, {"NOPE", "50"}}}));
    queue(job("ONE", "1", "0", {{0, {"A1", "80"}}, {2, {"A2", "40"}}}));
    ASSERT_TRUE(runUntil([&] { return cell(Balance, 1) == "1"; }));
    EXPECT_EQ(order(), "ONE");
    ASSERT_TRUE(runUntil([&] { return station->twoBalance().lane(2).finished(); }));
    EXPECT_EQ(station->twoBalance().lane(2).pointer, 99);
    EXPECT_FALSE(station->twoBalance().lane(1).finished());
    ASSERT_TRUE(runJob());

    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0].laneMeteringMs[1], 0);
    const DailyRecord r = onlyRecord();
    EXPECT_EQ(r.OrderNo, "ONE");
    expectDosed(r, {80, 40});
    EXPECT_TRUE(logTexts()
                    .filter("<queue> Job NOPE moved to")
                    .value(0)
                    .contains("row 2: NOPE is not the code of any valve"));
    EXPECT_EQ(r.ActualWater, "0");
    EXPECT_EQ(phases(2, 30), 0);  // lane 2 never prepared
}

TEST_F(TwoBalanceRun, SevenRowsOnOneBalanceAreAllDispensed) {
    startType2();
    std::map<int, std::pair<QString, QString>> lines;
    for (int k = 0; k < 7; ++k)
        lines[k] = {QStringLiteral("B%1").arg(k + 1), QString::number(30 + 10 * k)};
    lines[7] = {"A1", "50"};
    queue(job("SEVEN", "1", "0", lines));
    ASSERT_TRUE(runJob());
    expectDosed(onlyRecord(), {30, 40, 50, 60, 70, 80, 90, 50});
}

// The bucket watch counts what the bucket held at its last tare: two rows of
// 300 into a bucket that takes 500 fill it in the second row, which is
// finished in a new bucket.
TEST_F(TwoBalanceRun, AFullBucketIsChangedInTheMiddleOfARow) {
    startType2({{6, "500"}});
    queue(job("FULL", "1", "0", {{0, {"B1", "300"}}, {1, {"B2", "300"}}}));
    ASSERT_TRUE(runJob());
    EXPECT_TRUE(logTexts().contains("<002 to chenage >"));
    EXPECT_EQ(phases(2, 40), 1);
    EXPECT_EQ(phases(1, 40), 0);
    expectDosed(onlyRecord(), {300, 300});
    // The new bucket got only the rest of the second row.
    ASSERT_EQ(done.size(), 1);
    EXPECT_LT(content[1], 300);
    EXPECT_GT(content[1], 50);
}

// Settings field 8: a new bucket after every row but the lane's last.
TEST_F(TwoBalanceRun, ANewBucketForEveryItem) {
    startType2({{8, "1"}});
    queue(job("EVERY", "1", "0",
              {{0, {"A1", "50"}}, {1, {"A2", "60"}}, {2, {"A3", "70"}}, {3, {"B1", "40"}}}));
    ASSERT_TRUE(runJob());
    EXPECT_EQ(phases(1, 40), 2);
    EXPECT_EQ(phases(2, 40), 0);
    ASSERT_EQ(done.size(), 1);
    EXPECT_NEAR(content[0], 70, 2.01);  // the last bucket holds the last row only
    expectDosed(onlyRecord(), {50, 60, 70, 40});
}

// "Finish_DEL" removes the saved recipe of the job's order, and only that one.
TEST_F(TwoBalanceRun, FinishDelRemovesTheSavedRecipeOfTheOrder) {
    JobFile store = recipeStoreFile(QDir(dir.path()));
    for (const char* order : {"R1", "R2", "R3"})
        ASSERT_TRUE(store.append(job(order, "1", "0", {{0, {"A1", "20"}}})));
    startType2();
    form3().Check6.Value = true;
    queue(job("R2", "1", "0", {{0, {"A1", "20"}}}));
    ASSERT_TRUE(runJob());
    QStringList left;
    for (const JobRecord& r : recipeStoreFile(QDir(dir.path())).records())
        left << r.OrderNo.trimmed();
    EXPECT_EQ(left, QStringList({"R1", "R3"}));
    EXPECT_EQ(form3().List1.items.size(), 2);
}

// A stop (then run) or a kill (then a new start) while lane 1 meters its
// second row: the job goes on in the same buckets, no row in a bucket is
// metered again and the row cut short gets only what it lacked. After a kill
// the simulated machine starts with empty buckets, so what they hold at the
// end is what was metered after the new start.
class TwoBalanceInterrupted : public TwoBalanceRun, public ::testing::WithParamInterface<bool> {};

TEST_P(TwoBalanceInterrupted, GoesOnInTheSameBucketsWithoutMeteringAFinishedRowAgain) {
    const bool kill = GetParam();
    startType2();
    queue(job("J", "1", "0",
              {{0, {"A1", "200"}}, {1, {"B1", "100"}}, {2, {"A2", "300"}}, {3, {"B2", "500"}}}));
    const JobJournal journal(QDir(dir.path()));
    ASSERT_TRUE(runUntil([&] {
        const auto j = journal.read();
        return j && j->kept[0] && (j->kept[1] || !kill) && j->lanes[0].metering &&
               j->lanes[0].row == 2 && state().station[1].actual.value_or(0) > 100;
    }));
    const auto before = journal.read();
    if (kill) {
        station.reset();  // nothing switched off, nothing written on the way out
        startType2();
    } else {
        station->runControl().stopJob();
        EXPECT_FALSE(state().job.loaded());
        EXPECT_EQ(order(), "J");  // the grid keeps what the buckets hold
        station->scheduler.advance(5000);
        station->runControl().runAll();
    }
    ASSERT_TRUE(runJob());

    const DailyRecord r = onlyRecord();
    EXPECT_EQ(r.ActualWeight[0], *before->kept[0]);
    if (before->kept[1]) {
        EXPECT_EQ(r.ActualWeight[1], *before->kept[1]);
    }
    expectDosed(r, {200, 100, 300, 500});
    ASSERT_EQ(done.size(), 1);
    EXPECT_NEAR(content[0], kill ? 300 : 200 + 300, 6);
    // After a kill lane 2 may have ended before it.
    EXPECT_NEAR(content[1], !kill ? 100 + 500 : before->kept[3] ? 0 : 500, 6);
    EXPECT_EQ(logTexts().filter("<resume> job J goes on in the same bucket").size(), 1);
    EXPECT_EQ(queued(), 0);
}

INSTANTIATE_TEST_SUITE_P(StopOrKill, TwoBalanceInterrupted, ::testing::Bool());

// Type 5: the balance is chosen by weight (settings field 25); each product
// has a valve over each balance (valves 1..10 and their twins 11..20), and
// lane 2 opens the twin. Each lane marks its dye-mix entries in MIX_C.txt.
TEST_F(TwoBalanceRun, TypeFiveLanesOpenTheirOwnValvesAndMarkTheDyeMix) {
    for (int v = 1; v <= 3; ++v) {
        valve(v, QStringLiteral("M%1").arg(v), "40");
        valve(10 + v, QStringLiteral("M%1").arg(v), "4");
    }
    startRun({{5, "5"}, {6, "30000"}, {7, "2"}, {11, "10"}, {25, "100"}});
    station->twoBalance().setFinishedObserver([this](const FinishedJob& j) { done << j; });
    const QString marks = dyeMixFilePath(QDir(dir.path()), QString(), kMixMarksFileName);
    ASSERT_TRUE(resetMixMarks(marks));
    queue(job("MIX", "1", "0", {{0, {"M1", "400"}}, {1, {"M2", "12"}}, {2, {"M3", "8"}}}));
    ASSERT_TRUE(runJob());

    // Lane 2's rows not raised by 10, and within the job's tolerance.
    expectDosed(onlyRecord(), {400, 12, 8});
    // Lane 2 opened the twin of M2 (valve 12), never valve 2.
    const QList<int> twin = writtenTo(862);
    EXPECT_TRUE(std::any_of(twin.begin(), twin.end(), [](int v) { return v > 0; }));
    for (int v : writtenTo(852)) EXPECT_EQ(v, 0);
    QList<qint16> m;
    ASSERT_TRUE(loadMixMarks(marks, m));
    // The tubes of the rows (the last valve carrying the code: the twins 11..13).
    EXPECT_EQ(m.value(10), 1);
    EXPECT_EQ(m.value(11), 1);
    EXPECT_EQ(m.value(12), 1);
    EXPECT_EQ(m.value(0), 0);
}

}  // namespace
}  // namespace dye::test
