// Jobs that once ended with a wrong dose, a wrong balance or a silent stall,
// each run whole on the simulated machine in virtual time: what ends up in
// the bucket and in the record is what the job asked, or the station says why.
#include <algorithm>

#include "core/HeadlessDialogs.h"
#include "files/records/DailyRecordFile.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

class DoseTruth : public RunFixture {
  protected:
    // Runs the job now queued first to its end, following the largest content
    // of each bucket on the way.
    bool runWatching() {
        const auto watchUntilLoaded = [&](bool loaded) {
            for (int b : {1, 2})
                most[size_t(b)] = std::max(most[size_t(b)], sim().machine().content(b));
            return order().isEmpty() != loaded;
        };
        return runUntil([&] { return watchUntilLoaded(true); }) &&
               runUntil([&] { return watchUntilLoaded(false); });
    }
    std::array<double, 3> most{};
};

// The top-up water shares its write frame with lane 2's tare and phase codes:
// a lane-2 tare must not switch the water off on its way, and an amount
// within the pipe's run-on is still given.
TEST_F(DoseTruth, TypeTwoGivesItsWaterWhateverLaneTwoWrites) {
    valve(1, "A1", "40");
    valve(13, "SOAP", "15");
    startRun({{5, "2"}, {6, "30000"}, {7, "2"}});
    queue(job("W1", "1", "4400", {{0, {"SOAP", "7"}}}));
    queue(job("W2", "1", "1500", {{0, {"A1", "30"}}}));
    ASSERT_TRUE(runJob());
    ASSERT_TRUE(runJob());
    const QList<DailyRecord> r = records();
    ASSERT_EQ(r.size(), 2);
    expectDosed(r[0], {7});
    EXPECT_GT(r[0].ActualWater.toDouble(), 4000);
    EXPECT_GT(r[1].ActualWater.toDouble(), 500);
}

// Lines at or below the tolerance get their product: never 0 g recorded as done.
TEST_F(DoseTruth, LinesAtOrBelowTheToleranceAreDosed) {
    valve(1, "DEFOAM", "4");
    valve(2, "SODA", "100", "30");  // shortest opening 0.3 s
    startRun({{7, "2"}});
    queue(job("SMALL", "1", "0",
              {{0, {"DEFOAM", "1.5"}}, {1, {"DEFOAM", "0.8"}}, {2, {"SODA", "2"}}}));
    ASSERT_TRUE(runJob());
    const DailyRecord r = onlyRecord();
    EXPECT_NEAR(r.ActualWeight[0].toDouble(), 1.5, 1.0);
    EXPECT_NEAR(r.ActualWeight[1].toDouble(), 0.8, 0.6);
    // SODA's shortest pulse gives far more than 2 g: dosed, and marked in the log.
    EXPECT_GT(r.ActualWeight[2].toDouble(), 20);
    EXPECT_EQ(logTexts().filter("<line off> row 3 (SODA)").size(), 1);
}

// Type 5: a product only station 1 carries is metered on balance 1 whatever
// its weight, and valves 21..24 of station 2 are driven too.
TEST_F(DoseTruth, TypeFiveMetersAProductOnTheStationThatCarriesIt) {
    valve(1, "ONLY1", "20");
    valve(22, "ONLY2", "10");
    startRun({{5, "5"}, {6, "30000"}, {7, "2"}, {11, "12"}, {25, "100"}});
    queue(job("T5", "1", "0", {{0, {"ONLY1", "30"}}, {1, {"ONLY2", "150"}}}));
    ASSERT_TRUE(runWatching());
    expectDosed(onlyRecord(), {30, 150});
    EXPECT_LT(most[1], 40);  // nothing of ONLY2 on balance 1
    EXPECT_FALSE(writtenTo(872).isEmpty());
}

// Settings field 11 at 0 counts five valves per station, as the controller
// routes them: valve 1 is station 1's.
TEST_F(DoseTruth, TypeTwoWithNoValvesPerStationSetCountsFive) {
    valve(1, "A1", "40");
    valve(8, "B8", "40");
    startRun({{5, "2"}, {6, "30000"}, {7, "2"}, {11, "0"}});
    queue(job("Z", "1", "0", {{0, {"A1", "100"}}, {1, {"B8", "50"}}}));
    ASSERT_TRUE(runWatching());
    EXPECT_EQ(cell(DispenseGrid::Balance, 0), QString());  // cleared at the end
    expectDosed(onlyRecord(), {100, 50});
    EXPECT_LT(most[1], 110);
}

// After a bucket change the new bucket counts from empty: three rows of
// 300, 300 and 450 into buckets of 500 never put more than 500 into one.
TEST_F(DoseTruth, ANewBucketNeverTakesMoreThanItsLimit) {
    for (int v = 1; v <= 3; ++v) valve(12 + v, QStringLiteral("B%1").arg(v), "40");
    startRun({{5, "2"}, {6, "500"}, {7, "2"}});
    queue(job("FULL3", "1", "0", {{0, {"B1", "300"}}, {1, {"B2", "300"}}, {2, {"B3", "450"}}}));
    ASSERT_TRUE(runWatching());
    EXPECT_LT(most[2], 540);  // the watch closes the valves within a few ticks of the limit
    expectDosed(onlyRecord(), {300, 300, 450});
}

// An overloaded balance holds the metering with an alarm of its own and the
// run indicator says why, and the no-flow alarm names the station it is about.
TEST_F(DoseTruth, OverloadHoldsTheMeteringAndAlarmsNameTheirStation) {
    valve(1, "A1", "40");
    valve(13, "B1", "40");
    startRun({{5, "2"}, {6, "300000"}, {7, "2"}, {9, "1"}});
    sim().faults().stuckValves[12] = true;
    queue(job("OV", "1", "0", {{0, {"A1", "3000"}}, {1, {"B1", "100"}}}));
    ASSERT_TRUE(runUntil([&] { return told(QStringLiteral("<2> STOP TO NOT HAVE (NO.13)")); }));
    ASSERT_TRUE(runUntil([&] { return state().station[1].StationStep == 5; }));
    sim().overfillBucket(1, 250000);
    ASSERT_TRUE(runUntil([&] { return told(QStringLiteral("BALANCE 1 OVERLOADED")); }, 5000));
    // Nothing pours on balance 1 while it is overloaded.
    station->scheduler.advance(2000);
    const double held = sim().machine().content(1);
    station->scheduler.advance(20000);
    EXPECT_NEAR(sim().machine().content(1), held, 1);
    EXPECT_FALSE(told(QStringLiteral("<1> STOP TO NOT HAVE")));
    EXPECT_TRUE(state().form3.Status.contains(QStringLiteral("balance 1 reads over its range")))
        << state().form3.Status.toStdString();

    // Zeroed with the load on, then the load taken off: far below the zero,
    // said as such, and held until the balance is zeroed again.
    state().link.image.set(989, 10);
    station->scheduler.advance(2000);
    sim().overfillBucket(1, -250000);
    ASSERT_TRUE(runUntil([&] { return told(QStringLiteral("BALANCE 1 BELOW ITS RANGE")); }, 5000));
    station->scheduler.advance(2000);
    EXPECT_TRUE(state().form3.Status.contains(QStringLiteral("balance 1 reads far below its zero")))
        << state().form3.Status.toStdString();
    state().link.image.set(989, 10);
    ASSERT_TRUE(runUntil([&] { return state().balance(1).fresh; }, 5000));
    station->scheduler.advance(1000);
    EXPECT_FALSE(state().form3.Status.contains(QStringLiteral("is held")));
}

// Water that does not come is said, not waited for in silence; the top-up
// goes on once it comes.
TEST_F(DoseTruth, WaterThatDoesNotComeIsSaid) {
    valve(1, "A1", "40");
    startRun({{5, "2"}, {6, "30000"}, {7, "2"}});
    sim().options().physics.waterRate = 0;
    queue(job("DRY", "1", "3000", {{0, {"A1", "50"}}}));
    ASSERT_TRUE(runUntil([&] { return told(QStringLiteral("NO WATER")); }, 20 * 60 * 1000));
    EXPECT_FALSE(order().isEmpty());
    sim().options().physics.waterRate = 500;
    ASSERT_TRUE(runUntil([&] { return order().isEmpty(); }));
    EXPECT_GT(onlyRecord().ActualWater.toDouble(), 2000);
}

// The no-flow alarm of a job's row names the product, the job and the row in
// the station's language, and the operator's choice (try again, skip the
// row, stop the job) is what the run does next.
class NoFlowChoices : public RunFixture {
  protected:
    void SetUp() override {
        valve(1, "A1", "40");
        valve(2, "B2", "40");
        startRun({{9, "1"}});
        sim().faults().stuckValves[1] = true;
        queue(job("NF", "1", "0", {{0, {"B2", "50"}}, {1, {"A1", "30"}}}));
    }
    QStringList alarms() const {
        QStringList out;
        for (const auto& m : station->headlessDialogs()->messages())
            if (m.text.startsWith("*** <1> STOP TO NOT HAVE (NO.2)***\n")) out << m.text;
        return out;
    }
};

TEST_F(NoFlowChoices, SkippingTheRowRecordsItNotDosedAndTheJobGoesOn) {
    station->headlessDialogs()->scriptChoices({1});
    ASSERT_TRUE(runJob());
    const QStringList shown = alarms();
    ASSERT_EQ(shown.size(), 1);
    for (const char* part : {"valve 2 (B2", "Job NF, row 1.", "skip this row",
                             "[Try again / Skip this row / Stop the job]"})
        EXPECT_TRUE(shown[0].contains(part)) << part << "\n" << shown[0].toStdString();
    const DailyRecord r = onlyRecord();
    EXPECT_TRUE(r.ActualWeight[0].trimmed().endsWith(" SKIP")) << r.ActualWeight[0].toStdString();
    EXPECT_NEAR(r.ActualWeight[1].toDouble(), 30, 5.01);  // the next row was dosed
    EXPECT_EQ(logTexts().filter("<skip> row 1 (B2): not dosed").size(), 1);
    EXPECT_TRUE(logTexts().filter("<line off> row 1").isEmpty());
}

TEST_F(NoFlowChoices, ARepeatSaysHowOftenAndStoppingKeepsTheJobQueued) {
    station->headlessDialogs()->scriptChoices({0, 2});
    ASSERT_TRUE(runUntil([&] { return !order().isEmpty(); }));
    ASSERT_TRUE(runUntil([&] { return !state().job.loaded(); }));
    const QStringList shown = alarms();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_FALSE(shown[0].contains("times"));
    EXPECT_TRUE(shown[1].contains("This alarm has come 2 times in this metering."))
        << shown[1].toStdString();
    EXPECT_TRUE(records().isEmpty());
    EXPECT_EQ(queued(), 1);  // the job waits in the queue for the next run
    EXPECT_EQ(logTexts().filter("job stopped").size(), 1);
    EXPECT_FALSE(sim().machine().outputOn(852));
}

}  // namespace
}  // namespace dye::test
