// The operator's hand controls around a run on the simulated machine in
// virtual time: the wash buttons, a manual metering and the queue deletion
// leave the job's machine, stations and queue record alone and say why.
#include "files/records/DailyRecordFile.h"
#include "run/JobJournal.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

class HandControlsInRun : public RunFixture {};

// The twin-balance machines have no bucket wash: both wash buttons say so
// and leave no wash standing, and the next job is taken and finished.
TEST_F(HandControlsInRun, TheWashButtonsOfTheTwinBalanceMachinesSayWhyAndTheJobsRun) {
    valve(1, "A1", "40");
    valve(13, "B1", "40");
    for (const char* type : {"2", "5"}) {
        startRun({{5, type}, {6, "30000"}, {7, "2"}, {9, "1"}, {25, "100"}});
        station->mainScreen().requestWash();
        EXPECT_EQ(lastMessage(), QStringLiteral("The bucket is not washed: machine type %1 has no "
                                                "bucket wash (only types 1, 3 and 4 wash).")
                                     .arg(type));
        station->manual().requestWash();
        EXPECT_TRUE(lastMessage().contains(QStringLiteral("no bucket wash")));
        EXPECT_EQ(state().wash.WashPhase, 0);

        queue(job(QStringLiteral("T%1").arg(type), "1", "0", {{0, {"A1", "150"}}}));
        ASSERT_TRUE(runJob()) << type;
        EXPECT_EQ(queued(), 0);
        station.reset();
    }
    EXPECT_EQ(records().size(), 2);
}

// A job stopped with products in its bucket keeps its bucket from the wash:
// the wash button says why, also after a restart of the station, and once
// the job has finished the bucket can be washed again.
TEST_F(HandControlsInRun, TheBucketOfAStoppedJobIsNotWashed) {
    valve(1, "SODA", "40");
    startRun({{7, "2"}, {9, "1"}});
    queue(job("HOLD", "1", "0", {{0, {"SODA", "200"}}, {1, {"SODA", "100"}}}));
    ASSERT_TRUE(runUntil([&] { return cell(DispenseGrid::ActualWeight, 1) != ""; }));
    station->runControl().stopAll();
    station->scheduler.advance(2000);
    station->mainScreen().requestWash();
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("The bucket is not washed")))
        << lastMessage().toStdString();
    EXPECT_EQ(state().wash.WashPhase, 0);

    // In Simplified Chinese the refusal says the same in its own script.
    station.reset();
    startRun({{7, "2"}, {9, "2"}});
    station->manual().requestWash();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("桶内有已停止或中断之工作的原料")))
        << lastMessage().toStdString();
    EXPECT_EQ(state().wash.WashPhase, 0);
}

// During a job neither station takes a manual metering: the job's rows are
// metered as the recipe says, and nothing else lands in the bucket.
TEST_F(HandControlsInRun, AManualMeteringDuringAJobIsRefusedAndTheJobKeepsItsStations) {
    valve(1, "SODA", "40");
    valve(3, "HAC", "40");
    startRun({{7, "2"}, {9, "1"}});
    sim().options().physics.waterRunOnMs = 0;
    queue(job("J", "1", "0", {{0, {"SODA", "300"}}}));
    ASSERT_TRUE(runUntil([&] { return state().station[1].StationStep >= 3; }));
    const double target = state().station[1].target;

    state().form2.Combo[8] = "3";
    state().form2.Text5 = "100";
    station->manual().meterOnStation1();
    EXPECT_EQ(lastMessage(), "No manual metering on station 1: a job is on the machine.");
    state().form2.Combo[9] = "3";
    state().form2.Text6 = "50";
    station->manual().meterOnStation2();
    EXPECT_EQ(lastMessage(), "No manual metering on station 2: a job is on the machine.");
    EXPECT_EQ(state().station[1].valve, 1);
    EXPECT_EQ(state().station[1].target, target);
    EXPECT_EQ(state().station[2].StationStep, 0);

    ASSERT_TRUE(runJob());
    expectDosed(onlyRecord(), {300});
}

// A two-balance job stopped while its first row pours, before any row is
// kept, has products in its bucket: the queue keeps it.
TEST_F(HandControlsInRun, AStoppedTwoBalanceJobWithProductsInItsBucketStaysQueued) {
    valve(1, "A1", "40");
    valve(13, "B1", "40");
    startRun({{5, "2"}, {6, "30000"}, {7, "2"}, {9, "1"}});
    queue(job("LANE", "1", "0", {{0, {"A1", "400"}}, {1, {"B1", "300"}}}));
    const JobJournal journal(QDir(dir.path()));
    ASSERT_TRUE(runUntil([&] {
        const auto j = journal.read();
        return j && j->lanes[0].metering && state().station[1].actual.value_or(0) > 50;
    }));
    ASSERT_FALSE(journal.read()->anyKept());
    station->runControl().stopJob();
    ASSERT_TRUE(journal.read().has_value());

    form3().List2.ListIndex = 0;
    station->queueEditor().deleteSelected();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("stopped with products in its bucket")))
        << lastMessage().toStdString();
    EXPECT_EQ(queued(), 1);
}

}  // namespace
}  // namespace dye::test
