// The station as a new user first runs it: a fresh working directory seeded
// with the installation files works the sample queue to its end on the
// simulated machine.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "app/Installation.h"
#include "app/QueueRunner.h"
#include "app/Station.h"
#include "core/AnsiText.h"
#include "core/HeadlessDialogs.h"
#include "files/jobs/JobFile.h"
#include "files/records/DailyRecordFile.h"
#include "files/records/EventLog.h"

namespace dye::test {
namespace {

TEST(SampleQueue, EveryJobIsDispensedWithinToleranceRecordedAndRemoved) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    ASSERT_FALSE(seedInstallationFiles(workdir).isEmpty());
    QList<JobRecord> queued;
    JobFile queue = jobQueueFile(workdir);
    for (int n = 1; n <= queue.count(); ++n) queued << *queue.read(n);
    ASSERT_EQ(queued.size(), 3);

    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    // The first job ends in December, the others in January: a record goes
    // into the file of the month it finished in.
    options.start = QDateTime(QDate(2026, 12, 31), QTime(23, 52));
    Station station(options, HeadlessDialogs::make);
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
    QStringList log;
    for (const QDate& day : {QDate(2026, 12, 31), QDate(2027, 1, 1)}) {
        QFile f(eventLogPath(workdir, day));
        if (f.open(QIODevice::ReadOnly)) log << fromFixedField(f.readAll());
    }
    const QString all = log.join('\n');
    for (const JobRecord& job : queued)
        EXPECT_TRUE(all.contains(QStringLiteral("<start>") + job.OrderNo.trimmed() +
                                 QStringLiteral("< start >")));
    EXPECT_EQ(all.count(QStringLiteral("< save & end >")), 3);
}

}  // namespace
}  // namespace dye::test
