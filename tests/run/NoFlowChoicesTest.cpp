// The no-flow alarm of a job's row on the simulated machine: it names the
// product, the job and the row in the station's language, and the
// operator's choice (try again, skip the row, stop the job) is what the
// run does next.
#include "core/HeadlessDialogs.h"
#include "files/records/DailyRecordFile.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

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
