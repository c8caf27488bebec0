// A station killed in the middle of a job: the next start goes on in the same
// bucket without metering a finished row again, and the job ends with one
// record that holds every row.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include "app/Installation.h"
#include "app/QueueRunner.h"
#include "app/Station.h"
#include "core/AnsiText.h"
#include "core/HeadlessDialogs.h"
#include "jobs/JobFile.h"
#include "records/DailyRecordFile.h"
#include "records/EventLog.h"
#include "run/JobJournal.h"

namespace dye::test {
namespace {

QStringList logLines(const QDir& workdir, const QDate& day) {
    QFile file(eventLogPath(workdir, day));
    const QByteArray all = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QStringList out;
    for (qsizetype at = 0; at < all.size(); at += kLogRecordLength)
        out << fromFixedField(all.mid(at, kLogRecordLength)).trimmed();
    return out;
}

TEST(KillResume, AJobKilledAfterItsFirstRowGoesOnWithoutMeteringItAgain) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    ASSERT_FALSE(seedInstallationFiles(workdir).isEmpty());
    const JobRecord first = *jobQueueFile(workdir).read(1);  // three lines

    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    options.start = QDateTime(QDate(2026, 12, 7), QTime(8, 0));
    auto station = std::make_unique<Station>(options, HeadlessDialogs::make);
    station->load();
    const JobJournal journal(workdir);
    // Run until the first row is in the bucket and the second is being metered.
    ASSERT_TRUE(station->scheduler.advanceUntil(
        [&] {
            const auto j = journal.read();
            return j && j->kept[0] && j->meteringRow == 1;
        },
        3'600'000, 500));
    const QString firstRow = *journal.read()->kept[0];
    station.reset();  // killed: no switch-off, no closing, nothing written on the way out

    options.start = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    Station again(options, HeadlessDialogs::make);
    again.load();
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(QueueRunner(again, o, e).run(), QueueRunner::kIdle) << err.toStdString();

    QList<DailyRecord> records;
    ASSERT_TRUE(readDailyRecords(dailyRecordPath(workdir, QDate(2026, 12, 1)), records));
    int ofFirst = 0;
    for (const DailyRecord& r : records) {
        if (r.OrderNo != first.OrderNo.trimmed()) continue;
        ++ofFirst;
        EXPECT_EQ(r.ActualWeight[0], firstRow);  // kept from before the kill
        // The rows after the kill are weighed, not taken from a balance that
        // lost its zero with the machine.
        for (int k = 1; k < 3; ++k)
            EXPECT_NEAR(r.ActualWeight[size_t(k)].toDouble(), r.RecipeWeight[size_t(k)].toDouble(),
                        3)
                << k;
        EXPECT_EQ(r.QueuedAt, first.QueuedAt);
    }
    EXPECT_EQ(ofFirst, 1);
    EXPECT_EQ(records.size(), 3);  // the whole sample queue, each job once

    // The first job's lines end with its "< save & end >"; its first row was
    // entered once, before the kill.
    QStringList log = logLines(workdir, QDate(2026, 12, 7));
    QStringList firstJob;
    for (const QString& line : log) {
        firstJob << line;
        if (line.endsWith(QStringLiteral("< save & end >"))) break;
    }
    const QString firstWeight = first.Weight[0].trimmed();
    EXPECT_EQ(
        firstJob.filter(QStringLiteral("< enter to dispen > wt = %1 ").arg(firstWeight)).size(), 1);
    EXPECT_EQ(firstJob.filter(QStringLiteral("< enter to dispen >")).size(), 4);
    EXPECT_EQ(log.filter(QStringLiteral("<resume> job %1 goes on in the same bucket: rows kept 1 (")
                             .arg(first.OrderNo.trimmed()))
                  .size(),
              1);
    EXPECT_FALSE(QFile::exists(journal.path()));
}

}  // namespace
}  // namespace dye::test
