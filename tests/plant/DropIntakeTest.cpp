// The ZOLPOWDERS drop file: the first record of an identifier not yet taken
// is queued and marked, and nothing else of the file changes.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/AnsiText.h"
#include "jobs/JobFile.h"
#include "plant/DropIntake.h"

namespace dye::test {
namespace {

QByteArray dropRecord(const QString& id, const QString& status,
                      const QList<std::tuple<QString, QString, QString>>& items) {
    QByteArray r(932, ' ');
    putField(r, 0, 30, id);
    putField(r, 36, 6, status);
    for (int k = 0; k < items.size(); ++k) {
        putField(r, 124 + 20 * k, 20, std::get<0>(items[k]));
        putField(r, 424 + 8 * k, 8, std::get<1>(items[k]));
        putField(r, 544 + 9 * k, 9, std::get<2>(items[k]));
    }
    return r;
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
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();

    const DropIntakeResult taken = takeDropRecord(path, "Z'1; --", workdir);
    EXPECT_TRUE(taken.found);
    EXPECT_TRUE(taken.problem.isEmpty()) << taken.problem.toStdString();
    // Items 3 (no check) and 5 (no amount) are skipped; twelve lines make two jobs.
    const QList<JobRecord> queued = jobQueueFile(workdir).records();
    ASSERT_EQ(queued.size(), 2);
    EXPECT_EQ(queued[0].Code[0] + queued[0].Code[1] + queued[0].Code[2] + queued[0].Code[3],
              "P1P2P4P6");
    EXPECT_EQ(queued[0].Weight[0], "100");
    EXPECT_EQ(queued[1].OrderNo, "Z'1; --");
    EXPECT_EQ(queued[1].Code[0] + queued[1].Code[1], "P13P14");

    // Only the status bytes of the taken record changed.
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray after = f.readAll();
    f.close();
    EXPECT_EQ(getField(after.mid(932), 36, 6), "A_OK");
    after.replace(932 + 36, 6, QByteArray(6, ' '));
    EXPECT_EQ(after, file);

    // Entered again, nothing is left to take; a folder that is not there is said.
    EXPECT_FALSE(takeDropRecord(path, "Z'1; --", workdir).found);
    EXPECT_FALSE(takeDropRecord(dropFilePath("gone\\", workdir, QDate(2026, 12, 6)), "Z2", workdir)
                     .problem.isEmpty());
    // A drop file that cannot be opened is said and nothing is taken.
    const QString blocked = dropFilePath("in\\", workdir, QDate(2027, 1, 6));
    ASSERT_TRUE(QDir().mkpath(blocked));
    const DropIntakeResult refused = takeDropRecord(blocked, "Z2", workdir);
    EXPECT_FALSE(refused.found);
    EXPECT_TRUE(refused.problem.contains("cannot be opened")) << refused.problem.toStdString();
    EXPECT_EQ(jobQueueFile(workdir).count(), 2);
}

}  // namespace
}  // namespace dye::test
