// The water of whole jobs on the simulated machine: the base water within the
// amount, the top-up stopped by the run-on each water pipe has taught the
// station, and the record's actual water as what went into the bucket.
#include <QFile>

#include "core/Val.h"
#include "run/RunFixture.h"
#include "run/WaterLearning.h"

namespace dye::test {
namespace {

class WaterAmount : public RunFixture {
  protected:
    void SetUp() override {
        valve(2, "SODA", "40");
        startRun();
    }
    // Runs one job of one line and `water`; its record.
    DailyRecord runWaterJob(const QString& order, const QString& water) {
        queue(job(order, "1", water, {{0, {"SODA", "20"}}}));
        EXPECT_TRUE(runJob());
        for (const DailyRecord& r : records())
            if (r.OrderNo == order) return r;
        ADD_FAILURE() << "no record of " << order.toStdString();
        return {};
    }
    PipeLearning pipe(int reg) {
        return WaterLearning(QDir(dir.path()), [](const QString&) {}).pipe(reg);
    }
};

// Each pipe learns its own rate and run-on from the jobs' overshoot; once
// learned, the water lands within 1 % of amounts of 10 kg and more, on
// whichever pipe the settings choose.
TEST_F(WaterAmount, TheRunOnOfEachPipeIsLearnedAndTheWaterLandsOnItsAmount) {
    const DailyRecord first = runWaterJob("L1", "15000");
    // The base water's ten seconds taught the pipe its rate and run-on: the
    // first top-up is already timed.
    EXPECT_NEAR(Val(first.ActualWater), 15000, 150);
    EXPECT_TRUE(pipe(985).rate && pipe(985).runOn);
    for (int n = 2; n <= 4; ++n) runWaterJob(QStringLiteral("L%1").arg(n), "20000");
    const PipeLearning d985 = pipe(985);
    ASSERT_TRUE(d985.rate && d985.runOn);
    EXPECT_NEAR(*d985.rate, 500, 10);
    EXPECT_GT(*d985.runOn, 2000);  // the pipe's 4 s and more at 500 per second
    for (const auto& [order, water] : {std::pair{"A1", 10000}, {"A2", 30000}, {"A3", 12500}}) {
        const DailyRecord r = runWaterJob(order, QString::number(water));
        EXPECT_NEAR(Val(r.ActualWater), water, 0.01 * water) << order;
        EXPECT_FALSE(r.ActualWater.endsWith(" OFF"));
    }

    // Water through valve 1 (the settings box) comes by a pipe of its own,
    // with its own run-on; D985 gives none of it.
    state().form2.Check2 = true;
    sim().options().waterOnValve1 = true;
    sent.clear();
    for (int n = 1; n <= 3; ++n) runWaterJob(QStringLiteral("V%1").arg(n), "16000");
    EXPECT_TRUE(writtenTo(851).contains(1000));
    EXPECT_FALSE(writtenTo(985).contains(1000));
    const PipeLearning d851 = pipe(851);
    ASSERT_TRUE(d851.rate && d851.runOn);
    EXPECT_LT(*d851.runOn, *pipe(985).runOn - 1000);
    const DailyRecord v = runWaterJob("V4", "11000");
    EXPECT_NEAR(Val(v.ActualWater), 11000, 110);
}

// A job asking less than the pipe's run-on: the base water is cut at once,
// the station says the water went over, and the record shows it marked.
TEST_F(WaterAmount, AnAmountBelowTheBaseWaterIsSaidAndMarked) {
    state().settings.setText1(9, QStringLiteral("1"));  // English
    queue(job("SMALL", "1", "1000", {{0, {"SODA", "20"}}}));
    ASSERT_TRUE(runUntil([&] { return station->transfer().rowStep() == 199; }));
    EXPECT_TRUE(form3().Label8.Caption.contains("Water over its amount"))
        << form3().Label8.Caption.toStdString();
    ASSERT_TRUE(runJob());
    const QStringList log = logTexts();
    EXPECT_EQ(log.filter("< water stop > base water at the job's amount").size(), 1);
    EXPECT_EQ(log.filter("<water> off its amount before the top-up: asked 1000").size(), 1);
    EXPECT_FALSE(log.contains("< take water >"));
    const QString actual = onlyRecord().ActualWater;
    EXPECT_TRUE(actual.endsWith(" OFF")) << actual.toStdString();
    EXPECT_GT(Val(actual), 1000);
}

// No water asked, none given: the machine needs no base water to meter
// (every line is weighed on its own zero); the job still ends with its wash
// and record, and the pictures stand still after it.
TEST_F(WaterAmount, AJobAskingNoWaterGetsNoneAndStillEndsWithItsRecord) {
    const DailyRecord r = runWaterJob("DRY", "0");
    const QStringList log = logTexts();
    EXPECT_TRUE(log.contains("< no base water: the job asks no water >"));
    EXPECT_TRUE(log.filter("< water in").isEmpty());
    EXPECT_FALSE(log.contains("< take water >"));
    EXPECT_TRUE(log.contains("< washing >"));
    EXPECT_TRUE(log.contains("< save & end >"));
    EXPECT_FALSE(writtenTo(985).contains(1000));
    EXPECT_EQ(r.ActualWater, "0");
    EXPECT_EQ(r.Code[0], "SODA");
    EXPECT_EQ(queued(), 0);
    EXPECT_EQ(state().AnimationState[0], 0);
    EXPECT_EQ(state().AnimationState[2], 0);
}

// A two-balance machine has no base water to teach its pipe: the first
// top-up is watched to its half (which teaches the rate), then timed
// openings give the rest (the first of which teaches the run-on), and the
// first job already lands within 1 %.
TEST_F(WaterAmount, WithNoBaseWaterTheFirstJobOfAFreshPipeAlreadyLandsOnItsAmount) {
    valve(1, "A1", "40");
    startRun({{5, "2"}, {6, "30000"}, {7, "2"}});
    for (const auto& [order, water] : {std::pair{"F1", 11590}, {"F2", 24886}}) {
        queue(job(order, "1", QString::number(water), {{0, {"A1", "30"}}}));
        ASSERT_TRUE(runJob());
        const QList<DailyRecord> r = records();
        ASSERT_FALSE(r.isEmpty());
        EXPECT_NEAR(Val(r.back().ActualWater), water, 0.01 * water) << order;
        EXPECT_TRUE(pipe(985).rate && pipe(985).runOn) << order;
    }
}

// The learned water figures on the disk: robust to outliers, following a
// changed pipe, kept over a restart, and a torn file set aside.
struct Learned {
    QTemporaryDir dir;
    QStringList log;
    WaterLearning open() {
        return WaterLearning(QDir(dir.path()), [this](const QString& t) { log << t; });
    }
};

TEST(WaterLearning, AnOutlierIsLeftOutAndAChangedPipeIsFollowed) {
    Learned l;
    WaterLearning w = l.open();
    for (double s : {2480.0, 2510.0, 2490.0, 2500.0}) w.learnRunOn(985, s);
    EXPECT_NEAR(*w.pipe(985).runOn, 2495, 10);
    w.learnRunOn(985, 9000);  // a disturbed reading
    EXPECT_NEAR(*w.pipe(985).runOn, 2495, 10);
    EXPECT_EQ(l.log.filter("D985 run-on 9000 left out").size(), 1);
    // The pipe runs on 600 more from now on: followed after three in a row.
    for (int k = 0; k < 6; ++k) w.learnRunOn(985, 3100);
    EXPECT_NEAR(*w.pipe(985).runOn, 3100, 30);
    EXPECT_FALSE(w.pipe(851).runOn);  // the other pipe learned nothing
}

TEST(WaterLearning, TheFiguresSurviveARestartAndATornFileIsSetAside) {
    Learned l;
    {
        WaterLearning w = l.open();
        w.learnRate(985, 498.5);
        w.learnRunOn(985, 2460);
        w.learnRate(851, 510);
    }
    WaterLearning again = l.open();  // a new start reads the file
    EXPECT_DOUBLE_EQ(*again.pipe(985).rate, 498.5);
    EXPECT_DOUBLE_EQ(*again.pipe(985).runOn, 2460);
    EXPECT_DOUBLE_EQ(*again.pipe(851).rate, 510);
    EXPECT_FALSE(again.pipe(851).runOn);

    // A file cut short by a power cut is not read in part.
    const QString path = WaterLearning::path(QDir(l.dir.path()));
    const QByteArray torn = fileBytes(path).left(30);
    ASSERT_TRUE(QFile::resize(path, 30));
    EXPECT_FALSE(l.open().pipe(985).rate);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(fileBytes(WaterLearning::rejectedPath(QDir(l.dir.path()))), torn);
    EXPECT_EQ(l.log.filter("WATER_LEARNED.txt is not a whole file").size(), 1);
    // Learning starts again from nothing.
    WaterLearning fresh = l.open();
    fresh.learnRunOn(985, 2500);
    EXPECT_DOUBLE_EQ(*l.open().pipe(985).runOn, 2500);
}

}  // namespace
}  // namespace dye::test
