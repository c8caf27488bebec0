// A station killed in the middle of a job: the next start goes on in the same
// bucket without metering a finished row again, and the job ends with one
// record that holds every row.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <bit>
#include <memory>

#include "app/Installation.h"
#include "app/QueueRunner.h"
#include "app/Station.h"
#include "core/AnsiText.h"
#include "core/HeadlessDialogs.h"
#include "files/jobs/JobFile.h"
#include "files/records/DailyRecordFile.h"
#include "files/records/EventLog.h"
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

Station::Options stationOn(const QDir& workdir, int hour) {
    Station::Options options;
    options.workdir = workdir.path();
    options.simulate = true;
    options.start = QDateTime(QDate(2026, 12, 7), QTime(hour, 0));
    return options;
}

// Runs a station on `workdir` until the first job's first row is in the
// bucket and its second row is being metered, then kills it (no switch-off,
// no closing, nothing written on the way out). Returns the first row's
// actual weight as the journal kept it; empty when the run never got there.
QString killAfterFirstRow(const QDir& workdir) {
    Station station(stationOn(workdir, 8), HeadlessDialogs::make);
    station.load();
    const JobJournal journal(workdir);
    const bool there = station.scheduler.advanceUntil(
        [&] {
            const auto j = journal.read();
            return j && j->kept[0] && j->meteringRow == 1;
        },
        3'600'000, 500);
    return there ? *journal.read()->kept[0] : QString();
}

TEST(KillResume, AJobKilledAfterItsFirstRowGoesOnWithoutMeteringItAgain) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    ASSERT_FALSE(seedInstallationFiles(workdir).isEmpty());
    const JobRecord first = *jobQueueFile(workdir).read(1);  // three lines
    const JobJournal journal(workdir);
    const QString firstRow = killAfterFirstRow(workdir);
    ASSERT_FALSE(firstRow.isEmpty());

    Station again(stationOn(workdir, 9), HeadlessDialogs::make);
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
        EXPECT_TRUE(sameQueuedAt(r.QueuedAt, first.QueuedAt));
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

// A queueing time whose bytes read as NaN still names its queue record, its
// journal and its daily record: killed in the middle, the job goes on in its
// bucket, is recorded once and leaves the queue, and the jobs behind it run.
TEST(KillResume, AJobQueuedAtANaNTimeIsDispensedOnceAcrossAKill) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    ASSERT_FALSE(seedInstallationFiles(workdir).isEmpty());
    JobFile queue = jobQueueFile(workdir);
    const int jobs = queue.count();
    JobRecord first = *queue.read(1);
    first.QueuedAt = std::bit_cast<double>(~quint64(0));  // eight 0xFF bytes
    ASSERT_TRUE(queue.replace(1, first));
    ASSERT_FALSE(killAfterFirstRow(workdir).isEmpty());

    Station again(stationOn(workdir, 9), HeadlessDialogs::make);
    again.load();
    // Bounded, so that a job taken again and again fails here instead of
    // running for ever.
    EXPECT_TRUE(again.scheduler.advanceUntil(
        [&] {
            return jobQueueFile(workdir).count() == 0 &&
                   again.state.form3.Label2.Caption.trimmed().isEmpty();
        },
        4 * 3'600'000, 1000));

    QList<DailyRecord> records;
    ASSERT_TRUE(readDailyRecords(dailyRecordPath(workdir, QDate(2026, 12, 1)), records));
    EXPECT_EQ(records.size(), jobs);
    int ofFirst = 0;
    for (const DailyRecord& r : records)
        if (r.OrderNo == first.OrderNo.trimmed() && sameQueuedAt(r.QueuedAt, first.QueuedAt))
            ++ofFirst;
    EXPECT_EQ(ofFirst, 1);
    EXPECT_EQ(logLines(workdir, QDate(2026, 12, 7))
                  .filter(QStringLiteral("<resume> job %1 goes on in the same bucket")
                              .arg(first.OrderNo.trimmed()))
                  .size(),
              1);
}

}  // namespace
}  // namespace dye::test
