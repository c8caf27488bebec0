// The station on a fresh working directory seeded with the installation
// files, on the simulated machine: the sample queue worked to its end as a
// new user first runs it, and a station killed in the middle of a job, whose
// next start goes on in the same bucket without metering a finished row
// again, the job ending with one record that holds every row.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
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

// The event log of `day`, one line a record.
QStringList logLines(const QDir& workdir, const QDate& day) {
    QFile file(eventLogPath(workdir, day));
    const QByteArray all = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QStringList out;
    for (qsizetype at = 0; at < all.size(); at += kLogRecordLength)
        out << fromFixedField(all.mid(at, kLogRecordLength)).trimmed();
    return out;
}

// A station on the simulated machine in `workdir`, from `start` (by default
// at `hour` on 7 December 2026).
Station::Options stationOn(const QDir& workdir, int hour, QDateTime start = {}) {
    Station::Options options;
    options.workdir = workdir.path();
    options.simulate = true;
    options.start = start.isValid() ? start : QDateTime(QDate(2026, 12, 7), QTime(hour, 0));
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

TEST(SampleQueue, EveryJobIsDispensedWithinToleranceRecordedAndRemoved) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    ASSERT_FALSE(seedInstallationFiles(workdir).isEmpty());
    QList<JobRecord> queued;
    JobFile queue = jobQueueFile(workdir);
    for (int n = 1; n <= queue.count(); ++n) queued << *queue.read(n);
    ASSERT_EQ(queued.size(), 3);

    // The first job ends in December, the others in January: a record goes
    // into the file of the month it finished in.
    Station station(stationOn(workdir, 23, QDateTime(QDate(2026, 12, 31), QTime(23, 52))),
                    HeadlessDialogs::make);
    station.load();
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(QueueRunner(station, o, e).run(), QueueRunner::kIdle) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();  // no alarm, no message
    EXPECT_EQ(out.count('\n'), 3);

    // The queue is there and empty.
    EXPECT_TRUE(QFileInfo::exists(queue.path()));
    EXPECT_EQ(QFileInfo(queue.path()).size(), 0);

    // Three exact records, in the month each job finished; every line within
    // the tolerance of the settings.
    QList<DailyRecord> records;
    for (const QDate& month : {QDate(2026, 12, 1), QDate(2027, 1, 1)}) {
        const QString path = dailyRecordPath(workdir, month);
        if (!QFileInfo::exists(path)) continue;
        EXPECT_EQ(QFileInfo(path).size() % 1080, 0);
        QList<DailyRecord> monthRecords;
        ASSERT_TRUE(readDailyRecords(path, monthRecords));
        records << monthRecords;
    }
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(QFileInfo(dailyRecordPath(workdir, QDate(2026, 12, 1))).size(), 1080);
    EXPECT_EQ(QFileInfo(dailyRecordPath(workdir, QDate(2027, 1, 1))).size(), 2 * 1080);
    const double tolerance = station.state.settings.number(7);
    for (int j = 0; j < 3; ++j) {
        const DailyRecord& r = records[j];
        SCOPED_TRACE(r.OrderNo.toStdString());
        EXPECT_EQ(r.OrderNo, queued[j].OrderNo.trimmed());
        EXPECT_EQ(r.BucketNo, queued[j].BucketNo.trimmed());
        int row = 0;
        for (int line = 0; line < JobRecord::kLines; ++line) {
            if (queued[j].Code[size_t(line)].trimmed().isEmpty()) continue;
            EXPECT_EQ(r.Code[size_t(row)], queued[j].Code[size_t(line)].trimmed());
            EXPECT_NEAR(r.ActualWeight[size_t(row)].toDouble(),
                        queued[j].Weight[size_t(line)].toDouble(), tolerance + 1e-9);
            ++row;
        }
        EXPECT_TRUE(r.Code[size_t(row)].isEmpty());
    }
    EXPECT_EQ(records[0].Code[0], QStringLiteral("還原劑"));  // Big5 code, lines packed
    EXPECT_EQ(records[0].Code[2], QStringLiteral("增白劑"));

    // Every job's start and end line in the event logs of the days it ran.
    const QString all =
        (logLines(workdir, QDate(2026, 12, 31)) + logLines(workdir, QDate(2027, 1, 1))).join('\n');
    for (const JobRecord& job : queued)
        EXPECT_TRUE(all.contains(QStringLiteral("<start>") + job.OrderNo.trimmed() +
                                 QStringLiteral("< start >")));
    EXPECT_EQ(all.count(QStringLiteral("< save & end >")), 3);
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
