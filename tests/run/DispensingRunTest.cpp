// A whole job on the simulated machine in virtual time, through the main
// screen's job start and the one-balance sequence.
#include <set>

#include <QFile>

#include <algorithm>
#include <cmath>

#include "core/HeadlessDialogs.h"
#include "core/Val.h"
#include "files/records/DailyRecordFile.h"
#include "files/settings/MixFiles.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

using DispenseGrid::ActualWeight;
using DispenseGrid::Code;

class DispensingRun : public RunFixture {};

// A whole job from the queue to its record; on the way the run indicator
// says what the machine does at each step (zeroing, the bucket on its way,
// which row is metered, the wash and the top-up) with the live weight of
// balance 1 under it.
TEST_F(DispensingRun, WholeJobFromQueueToRecordAndTheRunIndicatorOnTheWay) {
    valve(1, "SODA", "40");
    valve(3, "HAC", "20");
    startRun({{9, "1"}});
    queue(job("J-1", "1", "12000", {{0, {"SODA", "300"}}, {4, {"HAC", "40"}}}));
    std::set<QString> seen;
    int liveShown = 0;
    int liveOff = 0;
    const auto watch = [&] {
        const TransferSequence& t = station->transfer();
        const MachineInputs& in = state().link.inputs;
        const bool moving = in.xBusy || in.yBusy || in.zBusy;
        const int step = state().station[1].StationStep;
        const QString shown = form3().Label8.Caption;
        if (t.transferStep() >= 4 && t.transferStep() < 10) seen.insert("zero: " + shown);
        if (step >= 3 && step <= 7) seen.insert((moving ? "moving: " : "metering: ") + shown);
        // The live weight under balance 1 follows its reading.
        if (step >= 3 && step <= 7)
            (std::abs(Val(form3().Label11[2].Caption) - state().balance(1).weight) < 0.01
                 ? liveShown
                 : liveOff)++;
        if (t.rowStep() == 119) seen.insert("top-up: " + shown);
        if (t.rowStep() == 109 && state().wash.WashPhase != 0) seen.insert("wash: " + shown);
    };
    ASSERT_TRUE(runUntil([&] { return watch(), !order().isEmpty(); }));
    ASSERT_TRUE(runUntil([&] { return watch(), order().isEmpty(); }));
    for (const char* want :
         {"zero: Zeroing the balance", "metering: Dispensing 1/2 SODA",
          "metering: Dispensing 2/2 HAC", "top-up: Topping up water", "wash: Washing"})
        EXPECT_EQ(seen.count(want), 1u) << want;
    for (const QString& s : seen) EXPECT_FALSE(s.startsWith("metering: Moving")) << s.toStdString();
    EXPECT_GT(liveShown, 0);
    EXPECT_EQ(liveOff, 0);

    // Every step of the job left its line, in order.
    QStringList run;
    for (const QString& t : logTexts())
        if (t.startsWith(QLatin1String("<start>")) || t.startsWith(QLatin1String("< ")))
            run << t.section(QLatin1Char('>'), 0, 0) + QLatin1Char('>');
    EXPECT_EQ(
        run, QStringList({"<start>", "< no.1 to zero >", "< water in 10 sec >", "< move to enter >",
                          "< enter to dispen >", "< enter to dispen >", "< washing >",
                          "< take water >", "< water stop >", "< save & end >"}));
    EXPECT_TRUE(logTexts().contains("<start>J-1< start >"));

    // Zeroing, base water and top-up went to the controller.
    EXPECT_TRUE(writtenTo(989).contains(10));
    // The base water's ten seconds, then a top-up timed by what they taught.
    const auto water = writtenTo(985);
    EXPECT_TRUE(water.contains(1000));
    EXPECT_EQ(std::count_if(water.begin(), water.end(), [](auto v) { return v > 0 && v < 30000; }),
              2);
    EXPECT_FALSE(water.contains(30000));
    EXPECT_TRUE(writtenTo(986).contains(1000));

    // One exact record, every line within tolerance, the queue empty but there.
    const DailyRecord r = onlyRecord();
    EXPECT_EQ(QFileInfo(dailyRecordPath(QDir(dir.path()), QDate(2026, 12, 6))).size(), 1080);
    EXPECT_EQ(r.OrderNo, "J-1");
    EXPECT_EQ(r.Code[0], "SODA");
    EXPECT_EQ(r.Code[1], "HAC");
    expectDosed(r, {300, 40});
    EXPECT_GT(r.ActualWater.toDouble(), 5000);
    EXPECT_TRUE(QFileInfo::exists(jobQueueFile(QDir(dir.path())).path()));
    EXPECT_EQ(queued(), 0);
    EXPECT_FALSE(state().TransferActive.active());
    EXPECT_TRUE(form3().TOOL.Enabled);
    EXPECT_TRUE(form3().List2.items.isEmpty());
}

// A job whose record cannot be written never leaves the queue: the run stops
// and says why; once the record can be written, the job ends where it was,
// recorded once, without a second dispensing.
TEST_F(DispensingRun, ARecordThatCannotBeWrittenStopsTheRunWithTheJobKept) {
    valve(1, "SODA", "40");
    startRun();
    queue(job("NOREC", "1", "0", {{0, {"SODA", "20"}}}));
    queue(job("NEXT", "2", "0", {{0, {"SODA", "5"}}}));
    ASSERT_TRUE(runUntil([&] { return order() == "NOREC"; }));
    // The disk changes under the running job: a file where the record folder
    // should be, so the record cannot be written.
    ASSERT_TRUE(writeFile(dir.filePath("data"), {}));
    ASSERT_TRUE(runUntil([&] { return !state().timers.jobStart->enabled(); }));
    EXPECT_EQ(logTexts().filter("<record> NOREC not recorded").size(), 1);
    EXPECT_TRUE(form3().Status.contains("NOREC"));
    EXPECT_EQ(queued(), 2);
    EXPECT_EQ(order(), "NOREC");
    EXPECT_TRUE(told("NOREC"));

    ASSERT_TRUE(QFile::remove(dir.filePath("data")));
    station->runControl().run();
    ASSERT_TRUE(runUntil([&] { return order() == "NEXT"; }));
    EXPECT_EQ(onlyRecord().OrderNo, "NOREC");
    EXPECT_EQ(logTexts().filter("< enter to dispen > wt = 20").size(), 1);  // metered once
    EXPECT_EQ(queued(), 1);
}

// Stop in the middle of a row, then run: the same job goes on in the same
// bucket, its row metered only to what it still lacks.
TEST_F(DispensingRun, StopDuringMeteringThenRunGoesOnInTheSameBucket) {
    valve(1, "SODA", "10");
    startRun({{8, "2"}});
    queue(job("AGAIN", "1", "0", {{0, {"SODA", "400"}}}));
    queue(job("NEXT", "2", "0", {{0, {"SODA", "5"}}}));
    ASSERT_TRUE(runUntil([&] { return state().station[1].StationStep >= 4; }));

    station->runControl().stopJob();
    // The job is off the machine; the grid keeps what is in its bucket.
    EXPECT_FALSE(state().job.loaded());
    EXPECT_EQ(order(), "AGAIN");
    EXPECT_EQ(cell(Code, 0), "SODA");
    EXPECT_FALSE(cell(ActualWeight, 0).isEmpty());
    EXPECT_TRUE(form3().Label8.Caption.contains("AGAIN")) << form3().Label8.Caption.toStdString();
    EXPECT_EQ(state().station[1].StationStep, 0);
    EXPECT_EQ(form3().Label10[0].Caption, "<STOP>");
    EXPECT_EQ(form3().BackColor, kStopPink);
    EXPECT_EQ(state().AnimationState[2], 0);  // no dye pours on a stopped machine
    EXPECT_EQ(state().link.image.get(851), RegisterImage::RegNoValue);
    EXPECT_FALSE(state().timers.jobStart->enabled());
    EXPECT_FALSE(state().timers.oneBalanceRun->enabled());
    passes(2);
    EXPECT_EQ(sim().machine().outputOn(851), false);
    EXPECT_EQ(queued(), 2);

    // Nothing moves while stopped.
    station->scheduler.advance(10000);
    EXPECT_FALSE(state().job.loaded());

    station->runControl().runAll();
    ASSERT_TRUE(runUntil([&] { return station->transfer().rowStep() >= 99; }));
    // Neither the row nor the base water was poured twice.
    EXPECT_NEAR(sim().machine().content(1) - form3().Label7.Caption.toDouble(), 400, 5);
    ASSERT_TRUE(runJob());
    const QStringList log = logTexts();
    EXPECT_EQ(log.filter("<resume> job AGAIN goes on in the same bucket").size(), 1);
    // The question said what was in the bucket: row 1 cut short, with its weight.
    const QStringList asks = messages().filter("AGAIN").filter("中斷時桶內已有");
    const QString asked = asks.value(asks.size() - 1);
    EXPECT_TRUE(asked.contains("第 1 列 SODA ") && asked.contains("（計量中斷）"))
        << asked.toStdString();
    EXPECT_EQ(log.count("<start>AGAIN< start >"), 2);
    EXPECT_EQ(log.filter("< enter to dispen >").size(), 2);  // row 1, then what it lacked
    const DailyRecord r = onlyRecord();
    EXPECT_EQ(r.OrderNo, "AGAIN");
    expectDosed(r, {400});
    // The job that ran was removed; the next one waits first in the queue.
    EXPECT_EQ(jobQueueFile(QDir(dir.path())).read(1)->OrderNo, "NEXT");
}

TEST_F(DispensingRun, BucketGoesToItsNamedPlaceByMachineType) {
    // Gantry machine: the place named like the bucket, by its taught position.
    valve(1, "SODA", "40");
    startRun();
    TeachSlot place{QStringLiteral("6000"), QStringLiteral("1200"), QStringLiteral("B7"), {}};
    state().settings.setTeachSlot(3, place);
    queue(job("G", "B7", "0", {{0, {"SODA", "5"}}}));
    ASSERT_TRUE(runUntil([&] { return station->transfer().rowStep() == 1; }));
    EXPECT_EQ(state().link.MoveX[1], 6000);
    EXPECT_EQ(state().wash.WashSlot, 3);
    EXPECT_EQ(state().PicturePlace, 3);
    EXPECT_TRUE(logTexts().contains("< move to enter >  PUSH TO (3)"));

    // Conveyor machine: the side of the split and the place's stop. A place
    // with no stop is QueueRunnerTest's.
    for (const auto& [bucketPlace, side, stop] :
         {std::tuple{3, 902, 906}, {1, 901, 904}, {18, 921, 923}}) {
        SCOPED_TRACE(bucketPlace);
        // A new job C each time, not the one the last station left on its way.
        QFile::remove(jobQueueFile(QDir(dir.path())).path());
        QFile::remove(QDir(dir.path()).filePath("JOB_JOURNAL.txt"));
        startRun({{5, "4"}, {24, "2"}});
        state().settings.setTeachSlot(bucketPlace, {{}, {}, QStringLiteral("K"), {}});
        queue(job("C", "K", "0", {{0, {"SODA", "5"}}}));
        ASSERT_TRUE(runUntil([&] { return station->transfer().rowStep() == 1; }));
        passes(2);
        EXPECT_TRUE(writtenTo(side).contains(30000));
        EXPECT_TRUE(writtenTo(stop).contains(30000));
        EXPECT_EQ(state().link.RobotCheckState, 0);
    }
}

// PELKO: a code that stands in two dye-mix entries marks both at the job's
// start, and the job's end clears both.
TEST_F(DispensingRun, PelkoDyeMixMarksOfEveryEntryAreClearedAtTheEnd) {
    valve(1, "C1", "40");
    const QDir d(dir.path());
    startRun({{16, "PELKO"}});
    ASSERT_TRUE(saveDyeMix(d.filePath("DYE_MIX.txt"), {"X", "C1", "Y", "C1"}));
    queue(job("M", "1", "0", {{0, {"C1", "20"}}}));
    QList<qint16> marks;
    ASSERT_TRUE(runUntil([&] { return order() == "M"; }));
    ASSERT_TRUE(loadMixMarks(d.filePath("MIX_C.txt"), marks));
    EXPECT_EQ(marks.mid(0, 5), QList<qint16>({0, 1, 0, 1, 0}));
    ASSERT_TRUE(runUntil([&] { return order().isEmpty(); }));
    ASSERT_TRUE(loadMixMarks(d.filePath("MIX_C.txt"), marks));
    EXPECT_EQ(marks, QList<qint16>(30, 0));
    EXPECT_EQ(onlyRecord().OrderNo, "M");
}

}  // namespace
}  // namespace dye::test
