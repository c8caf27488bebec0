// What the plant hands over is taken as it stands for the machine: a vat's
// own lines once, every line one the machine can dose (a vat that has one it
// cannot is refused before it is claimed, said once, and does not hold up
// the others), drop jobs with a bucket the machine reaches, and step-44 rows
// the plant changed while they were marked put back.
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include "core/AnsiText.h"
#include "files/settings/MachineSettings.h"
#include "plant/PlantRun.h"
#include "plant/PlantSession.h"
#include "plant/Step44Intake.h"

namespace dye::test {
namespace {

int count(const QStringList& lines, const QString& start) {
    return int(std::count_if(lines.begin(), lines.end(),
                             [&](const QString& l) { return l.startsWith(start); }));
}

// The vat-list polls so far.
class VatPolls : public PlantRun {
  protected:
    int polls() { return count(logTexts(), "<start>>>>>"); }
    // Runs the station a second at a time until the n-th poll has been made.
    bool pollUntil(int n) {
        for (int s = 0; s < 60 * n && polls() < n; ++s) station->scheduler.advance(1000);
        return polls() == n;
    }
};

TEST_F(VatPolls, ABatchListedForTwoVatsGivesEachVatItsLinesOnce) {
    makePlant(vat("1", "'3'", "B1") + vat("2", "'4'", "B1") + line(1, "B1", "'RED'", "100") +
              line(2, "B1", "'BLUE'", "40"));
    startPlant("MARIGOLD");
    state().timers.jobStart->setEnabled(false);  // both vats queued before either runs
    ASSERT_TRUE(pollUntil(2));
    const QList<JobRecord> jobs = jobQueueFile(QDir(dir.path())).records();
    ASSERT_EQ(jobs.size(), 2);
    for (const JobRecord& j : jobs) {
        EXPECT_EQ(
            j.Code[0] + "=" + j.Weight[0] + " " + j.Code[1] + "=" + j.Weight[1] + " " + j.Code[2],
            "RED=100 BLUE=40 ");
        EXPECT_EQ(j.OrderNo + "/" + j.Tag1, "B1/" + j.BucketNo);
    }
    EXPECT_EQ(jobs[0].BucketNo + jobs[1].BucketNo, "34");

    state().timers.jobStart->setEnabled(true);
    ASSERT_TRUE(runJob());
    ASSERT_TRUE(runJob());
    EXPECT_EQ(rows("SELECT VAT, VBH, NXYSL FROM \"SPTR_ZJD\" ORDER BY VAT, VBH DESC"),
              (QStringList{"3|RED|100", "3|BLUE|40", "4|RED|100", "4|BLUE|40"}));
    EXPECT_EQ(rows("SELECT VZT FROM \"SPTR_ZJCL\""), (QStringList{"3", "3"}));
}

// Weights held as text, as some plants keep them.
TEST_F(VatPolls, AVatWithALineTheMachineCannotDoseIsRefusedOnceAndTheOthersRun) {
    makePlant("ALTER TABLE \"SPTR_DetailToVat\" ALTER COLUMN \"Weight\" TYPE VARCHAR(30);\n" +
              vat("1", "'3'", "B1") + line(1, "B1", "'RED'", "NULL") + vat("2", "'4'", "B2") +
              line(2, "B2", "'BLUE'", "'12,5'") + vat("4", "NULL", "B4") +
              line(4, "B4", "'RED'", "'10'") + vat("6", "'7'", "B6") +
              line(7, "B6", "'GREEN'", "' 33 '"));
    startPlant("MARIGOLD");
    state().timers.jobStart->setEnabled(false);
    ASSERT_TRUE(pollUntil(4));
    // Vat 7 behind the refused ones is taken; they wait, nothing claimed.
    ASSERT_EQ(queued(), 1);
    const JobRecord taken = *jobQueueFile(QDir(dir.path())).read(1);
    EXPECT_EQ(taken.BucketNo + "/" + taken.Code[0] + "/" + taken.Weight[0], "7/GREEN/33");
    EXPECT_EQ(rows("SELECT VID, VZT FROM \"SPTR_ZJCL\" ORDER BY VID"),
              (QStringList{"1|1", "2|1", "4|1", "6|2"}));
    // One message each over four polls, naming the vat and the line (the
    // rules that refuse a line are RecipeCheckTest's).
    const QStringList log = logTexts();
    const QStringList expected{
        "<intake> vat 3 (batch B1, introduction 01) not taken: row 1: the code RED has no weight",
        "<intake> vat 4 (batch B2, introduction 01) not taken: row 1 (BLUE): the weight \"12,5\" "
        "has a comma",
        "<intake> vat \"\" batch \"B4\" introduction \"01\" refused"};
    for (const QString& start : expected) EXPECT_EQ(count(log, start), 1) << start.toStdString();
    EXPECT_EQ(count(log, "<intake>"), 3);

    // A refused vat the plant changes is judged anew: said again, or taken.
    ASSERT_TRUE(
        plant->exec("UPDATE \"SPTR_DetailToVat\" SET \"Weight\" = 'abc' WHERE \"DID\" = 2"));
    ASSERT_TRUE(plant->exec("UPDATE \"SPTR_DetailToVat\" SET \"Weight\" = '50' WHERE \"DID\" = 1"));
    plant->close();
    ASSERT_TRUE(pollUntil(6));
    EXPECT_EQ(count(logTexts(),
                    "<intake> vat 4 (batch B2, introduction 01) not taken: row 1 "
                    "(BLUE): the weight \"abc\" is not a plain number"),
              1);
    ASSERT_EQ(queued(), 2);
    EXPECT_EQ(jobQueueFile(QDir(dir.path())).read(2)->Weight[0], "50");
}

// ZOLPOWDERS on a machine that moves the bucket (type 1): the drop job goes
// to place 0 under its bucket name, passes the queue guard and is dispensed.
TEST_F(PlantRun, ADropJobIsDispensedAtPlaceZeroOnATypeOneMachine) {
    makePlant("");
    startPlant("ZOLPOWDERS", {{10, "in\\"}});
    dropFile(dropRecord("Z1", "", {{"BLUE", "1", "0.025"}}));
    state().form6.Text1 = "Z1";
    station->identifierEntry().identifierKey(13);
    ASSERT_TRUE(runJob());
    const QList<DailyRecord> done = records();
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0].OrderNo.trimmed() + "/" + done[0].BucketNo.trimmed(), "Z1/1");
    EXPECT_NEAR(done[0].ActualWeight[0].toDouble(), 25, 1);
    EXPECT_EQ(queued(), 0);
    EXPECT_EQ(count(logTexts(), "<queue>"), 0);
    EXPECT_EQ(getField(fileBytes(dir.filePath("in/G202612.666")), 36, 6), "A_OK");
}

class Step44 : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<PlantDb> plant;
    MachineSettings settings;
    QStringList log;

    void SetUp() override {
        plant = std::make_unique<PlantDb>(dir.filePath("plant.fdb"));
        ASSERT_TRUE(plant->create(
            "INSERT INTO chainlih VALUES ('Q1', '2', 'RED', 2, 10, 44, NULL, NULL, '1');\n"
            "INSERT INTO chainlih VALUES ('Q1', '2', 'BLUE', 2, 20, 44, NULL, NULL, '1');\n"));
        plant->close();
        settings.setText4(0, "RED");
        settings.setText4(1, "BLUE");
    }
    Step44Intake::Taken take(const std::function<void()>& afterRead = {}) {
        Step44Intake::Taken out;
        runOnce(
            plant->source(),
            [&](PlantSession& s) {
                Step44Intake::take(s, "Q1", 1, 46000, settings, out, afterRead);
            },
            &log);
        return out;
    }
    QStringList steps() {
        const QStringList out = plant->rows("SELECT PROD_CODE, STEP_NO FROM chainlih ORDER BY 1");
        plant->close();
        return out;
    }
};

TEST_F(Step44, RowsTheUpdateMarkedBeyondThoseReadArePutBackAndTakenNextTime) {
    const Step44Intake::Taken first = take([&] {
        plant->exec("INSERT INTO chainlih VALUES ('Q1', '2', 'RED', 2, 5, 44, NULL, NULL, '1')");
        plant->close();
    });
    EXPECT_TRUE(first.jobs.isEmpty());
    EXPECT_EQ(steps(), (QStringList{"BLUE|44", "RED|44", "RED|44"}));
    EXPECT_EQ(count(log,
                    "<intake> order Q1: 2 rows read, 3 marked; the rows changed meanwhile: "
                    "nothing queued, the rows are marked back to step 44"),
              1);

    const Step44Intake::Taken second = take();
    ASSERT_EQ(second.jobs.size(), 1);
    EXPECT_EQ(second.jobs[0].Code[2], "RED");
    EXPECT_EQ(steps(), (QStringList{"BLUE|45", "RED|45", "RED|45"}));
}

TEST_F(Step44, AnOrderWithALineTheMachineCannotDoseIsNotMarked) {
    plant->exec("INSERT INTO chainlih VALUES ('Q1', '2', 'RED', 2, NULL, 44, NULL, NULL, '1')");
    plant->close();
    EXPECT_TRUE(take().jobs.isEmpty());
    EXPECT_EQ(steps(), (QStringList{"BLUE|44", "RED|44", "RED|44"}));
    EXPECT_EQ(count(log,
                    "<intake> order Q1 category 1 not taken: row 3: the code RED has no "
                    "weight"),
              1);
}

}  // namespace
}  // namespace dye::test
