// The ZOLPOWDERS drop file: the first record of an identifier not yet taken
// is queued and marked, and nothing else of the file changes.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "core/AnsiText.h"
#include "files/jobs/JobFile.h"
#include "files/settings/MachineSettings.h"
#include "plant/DropIntake.h"
#include "plant/PlantData.h"

namespace dye::test {
namespace {

// A type-1 machine whose valves carry P1..P14 and whose place 0 holds bucket "A1".
MachineSettings machine() {
    MachineSettings m;
    m.setText1(5, "1");
    for (int v = 1; v <= 14; ++v) m.setText4(v - 1, QStringLiteral("P%1").arg(v));
    m.setTeachSlot(1, {{}, {}, "A1", {}});
    return m;
}

TEST(DropIntake, TakesTheFirstUntakenRecordMarksOnlyItsStatusAndQueuesEveryItem) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    ASSERT_TRUE(workdir.mkpath("in"));
    const QString path = dropFilePath("in\\", workdir, QDate(2026, 12, 6));
    EXPECT_TRUE(path.endsWith("/in/G202612.666"));

    QList<std::tuple<QString, QString, QString>> items;
    for (int k = 1; k <= 14; ++k)
        items << std::tuple{QStringLiteral("P%1").arg(k), k == 3 ? "0" : "1",
                            k == 5 ? "0" : QStringLiteral("0.%1").arg(k)};
    QByteArray file = dropRecord("Z'1; --", "A_OK", {{"OLD", "1", "1"}}) +
                      dropRecord("Z'1; --", "", items) + dropRecord("Z2", "", {}) +
                      QByteArray("Z'1; --  half a record");
    ASSERT_TRUE(writeFile(path, file));

    const DropIntakeResult taken = takeDropRecord(path, "Z'1; --", workdir, machine());
    EXPECT_TRUE(taken.found);
    EXPECT_TRUE(taken.problem.isEmpty()) << taken.problem.toStdString();
    // Items 3 (no check) and 5 (no amount) are skipped; twelve lines make two jobs.
    const QList<JobRecord> queued = jobQueueFile(workdir).records();
    ASSERT_EQ(queued.size(), 2);
    EXPECT_EQ(queued[0].Code[0] + queued[0].Code[1] + queued[0].Code[2] + queued[0].Code[3],
              "P1P2P4P6");
    EXPECT_EQ(queued[0].Weight[0], "100");
    EXPECT_EQ(queued[0].BucketNo + queued[1].BucketNo, "A1A1");  // place 0's bucket
    EXPECT_EQ(queued[1].OrderNo, "Z'1; --");
    EXPECT_EQ(queued[1].Code[0] + queued[1].Code[1], "P13P14");

    // Only the status bytes of the taken record changed.
    QByteArray after = fileBytes(path);
    EXPECT_EQ(getField(after.mid(932), 36, 6), "A_OK");
    after.replace(932 + 36, 6, QByteArray(6, ' '));
    EXPECT_EQ(after, file);

    // Entered again, nothing is left to take; a folder that is not there is said.
    EXPECT_FALSE(takeDropRecord(path, "Z'1; --", workdir, machine()).found);
    EXPECT_FALSE(takeDropRecord(dropFilePath("gone\\", workdir, QDate(2026, 12, 6)), "Z2", workdir,
                                machine())
                     .problem.isEmpty());
    // A drop file that cannot be opened is said and nothing is taken.
    const QString blocked = dropFilePath("in\\", workdir, QDate(2027, 1, 6));
    ASSERT_TRUE(QDir().mkpath(blocked));
    const DropIntakeResult refused = takeDropRecord(blocked, "Z2", workdir, machine());
    EXPECT_FALSE(refused.found);
    EXPECT_TRUE(refused.problem.contains("cannot be opened")) << refused.problem.toStdString();
    EXPECT_EQ(jobQueueFile(workdir).count(), 2);
}

// A record the machine cannot dispense stays untaken, with a message: on
// type 1 the bucket must name a place; the items, weighed in grams, pass the
// recipe check (whose rules RecipeCheckTest owns).
TEST(DropIntake, ARecordTheMachineCannotDispenseIsNotMarked) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    const QString path = workdir.filePath("G202612.666");
    const QByteArray file =
        dropRecord("Z1", "", {{"P1", "1", "0.5"}}) + dropRecord("Z3", "", {{"P1", "1", "500"}});
    ASSERT_TRUE(writeFile(path, file));

    MachineSettings noPlace = machine();
    noPlace.setTeachSlot(1, {});
    const DropIntakeResult unplaced = takeDropRecord(path, "Z1", workdir, noPlace);
    EXPECT_TRUE(unplaced.problem.contains("place 0")) << unplaced.problem.toStdString();
    const DropIntakeResult heavy = takeDropRecord(path, "Z3", workdir, machine());
    EXPECT_TRUE(heavy.problem.contains("row 1 (P1): the weight 500000 is more than"))
        << heavy.problem.toStdString();
    EXPECT_EQ(fileBytes(path), file);
    EXPECT_EQ(jobQueueFile(workdir).count(), 0);

    // A machine that moves no bucket takes it with place 0's name, blank or not.
    noPlace.setText1(5, "2");
    const DropIntakeResult taken = takeDropRecord(path, "Z1", workdir, noPlace);
    EXPECT_TRUE(taken.problem.isEmpty()) << taken.problem.toStdString();
    ASSERT_EQ(jobQueueFile(workdir).count(), 1);
    EXPECT_EQ(getField(fileBytes(path), 36, 6), "A_OK");
}

}  // namespace
}  // namespace dye::test
