// The headless queue run: one line per finished job, and the reason when a
// job cannot finish.
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "app/QueueRunner.h"
#include "files/jobs/BackgroundRemoval.h"
#include "run/JobJournal.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

class QueueRunnerTest : public RunFixture {
  protected:
    QString out, err;
    int runQueue() {
        QTextStream o(&out), e(&err);
        return QueueRunner(*station, o, e).run();
    }
    // The order each line of the report begins with.
    QStringList reported() const {
        QStringList orders;
        for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
            orders << line.section(QLatin1Char(' '), 0, 0);
        return orders;
    }
};

TEST_F(QueueRunnerTest, WorksTheQueueToItsEndAndReportsEveryJob) {
    valve(2, "NAOH", "35");
    startRun();
    queue(job("Q-1", "1", "0", {{0, {"NAOH", "100"}}}));
    queue(job("<<<single>>>", "2", "", {{3, {"NAOH", "40"}}}));
    EXPECT_EQ(runQueue(), QueueRunner::kIdle);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    // Order, bucket, lines and recipe as queued; the weight metered within
    // the station's tolerance of the recipe, whatever the simulator's noise.
    const QRegularExpression line(QStringLiteral(
        R"(^(\S+)  bucket (\S+)  lines (\d+)  recipe (\S+)  actual (\S+)  .*machine (\S+)$)"));
    const struct {
        const char* order;
        const char* bucket;
        double recipe;
    } expected[] = {{"Q-1", "1", 100.0}, {"<<<single>>>", "2", 40.0}};
    for (int i = 0; i < 2; ++i) {
        const QRegularExpressionMatch m = line.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(1), expected[i].order);
        EXPECT_EQ(m.captured(2), expected[i].bucket);
        EXPECT_EQ(m.captured(3), "1");
        EXPECT_EQ(m.captured(4).toDouble(), expected[i].recipe);
        bool number = false;
        EXPECT_NEAR(m.captured(5).toDouble(&number), expected[i].recipe, 2.01);
        EXPECT_TRUE(number) << lines[i].toStdString();
        EXPECT_TRUE(m.captured(6).startsWith("00:0")) << "a job of minutes, not hours";
    }
    EXPECT_EQ(queued(), 0);
}

TEST_F(QueueRunnerTest, AJobThatCannotGoOnEndsTheRunWithTheReason) {
    // A conveyor machine has no stop for bucket place 30: the move is refused.
    valve(2, "NAOH", "35");
    startRun({{5, "4"}, {9, "1"}});
    state().settings.setTeachSlot(30, {{}, {}, QStringLiteral("FAR"), {}});
    queue(job("FAR-1", "FAR", "0", {{0, {"NAOH", "10"}}}));
    EXPECT_EQ(runQueue(), QueueRunner::kStuck);
    EXPECT_TRUE(err.contains("NO CONVEYOR STOP")) << err.toStdString();
    EXPECT_EQ(queued(), 1);  // nothing lost
}

// With the record folder unwritable no job is dispensed at all: the queue
// stays whole and the run says why at once, not hours later.
TEST_F(QueueRunnerTest, NoJobIsTakenWhileItsRecordCouldNotBeWritten) {
    valve(1, "SODA", "40");
    startRun({{9, "1"}});
    ASSERT_TRUE(writeFile(dir.filePath("data"), {}));  // a file where the record folder goes
    queue(job("R-1", "1", "0", {{0, {"SODA", "5"}}}));
    queue(job("R-2", "2", "0", {{0, {"SODA", "5"}}}));
    const qint64 t0 = station->scheduler.now();
    EXPECT_EQ(runQueue(), QueueRunner::kStuck);
    EXPECT_LT(station->scheduler.now() - t0, 5 * 60 * 1000);
    EXPECT_TRUE(err.contains("record folder")) << err.toStdString();
    EXPECT_EQ(queued(), 2);
    EXPECT_TRUE(order().isEmpty());
    EXPECT_TRUE(logTexts().filter("<start>").isEmpty());
}

// A long queue is rewritten on a thread of its own at each job end (here
// every queue is, whatever its length): each job is still taken once,
// recorded once and gone from the queue, and its journal goes with it.
TEST_F(QueueRunnerTest, AQueueRewrittenBesideTheScanLosesAndRepeatsNothing) {
    struct Threshold {
        qint64 was = BackgroundRemoval::threshold();
        Threshold() { BackgroundRemoval::setThreshold(0); }
        ~Threshold() { BackgroundRemoval::setThreshold(was); }
    } everyQueue;
    valve(2, "NAOH", "35");
    startRun();
    for (const char* order : {"B-1", "B-2", "B-3"})
        queue(job(order, "1", "0", {{0, {"NAOH", "15"}}}));
    EXPECT_EQ(runQueue(), QueueRunner::kIdle) << err.toStdString();
    QStringList orders;
    for (const DailyRecord& r : records()) orders << r.OrderNo.trimmed();
    EXPECT_EQ(orders, QStringList({"B-1", "B-2", "B-3"}));
    EXPECT_EQ(reported(), orders);
    EXPECT_EQ(queued(), 0);
    EXPECT_EQ(logTexts().filter("<start>").size(), 3);
    EXPECT_FALSE(QFileInfo::exists(JobJournal(QDir(dir.path())).path()));
}

// A torn record at the end of the queue is moved aside and reported once;
// the whole records before it run.
TEST_F(QueueRunnerTest, ATornThirdRecordIsKeptAndReportedWhileTheFirstTwoRun) {
    valve(2, "NAOH", "35");
    startRun({{9, "1"}});
    queue(job("T-1", "1", "0", {{0, {"NAOH", "20"}}}));
    queue(job("T-2", "2", "0", {{0, {"NAOH", "20"}}}));
    queue(job("T-3", "3", "0", {{0, {"NAOH", "20"}}}));
    const QString path = jobQueueFile(QDir(dir.path())).path();
    const QByteArray third = fileBytes(path).mid(2 * JobRecord::kLength);
    ASSERT_TRUE(QFile::resize(path, 3 * JobRecord::kLength - 1));

    EXPECT_EQ(runQueue(), QueueRunner::kIdle) << err.toStdString();
    EXPECT_EQ(reported(), QStringList({"T-1", "T-2"}));
    EXPECT_EQ(fileBytes(dir.filePath(kJobQueueRejectedName)), third);
    EXPECT_EQ(logTexts().filter("START_DISPEN.txt record 3 (order T-3) is incomplete").size(), 1);
    EXPECT_EQ(err.count("is incomplete (939 of 940 bytes)"), 1) << err.toStdString();
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

// Records that cannot be dispensed, from whatever writer, are moved aside
// byte for byte before anything is poured, one per tick, each with its
// reason naming the row; the jobs behind them run.
TEST_F(QueueRunnerTest, UndispensableJobsAreSetAsideAndTheJobsBehindThemGoOn) {
    valve(2, "NAOH", "35");
    startRun({{9, "1"}});
    for (int place : {1, 2, 3, 4, 5})
        state().settings.setTeachSlot(place, {{}, {}, QString::number(place), {}});
    const QList<JobRecord> bad{
        job("", "1", "0", {{0, {"NAOH", "20"}}}),
        job("UNKNOWN", "3", "0", {{0, {"DYE-9", "20"}}}),
        job("NOPLACE", "99", "0", {{0, {"NAOH", "20"}}}),
    };
    queue(bad[0]);
    queue(job("GOOD-1", "4", "0", {{0, {"NAOH", "20"}}}));
    for (int k = 1; k < bad.size(); ++k) queue(bad[k]);
    queue(job("GOOD-2", "5", "0", {{0, {"NAOH", "20"}}}));
    EXPECT_EQ(runQueue(), QueueRunner::kIdle) << err.toStdString();
    EXPECT_EQ(reported(), QStringList({"GOOD-1", "GOOD-2"}));
    QByteArray asQueued;
    for (const JobRecord& r : bad) asQueued += r.toBytes();
    EXPECT_EQ(fileBytes(dir.filePath(kJobQueueRejectedName)), asQueued);
    const QStringList log = logTexts().filter("moved to START_DISPEN_REJECTED.txt");
    // Which jobs the guard refuses is JobStartTest's; here that each is set
    // aside with its reason and the jobs behind it go on.
    const char* reasons[] = {
        "(bucket 1)",
        "UNKNOWN moved to START_DISPEN_REJECTED.txt: row 1: DYE-9 is not the code of any valve",
        "NOPLACE moved to START_DISPEN_REJECTED.txt: the bucket 99 is not a place of this machine",
    };
    ASSERT_EQ(log.size(), 3);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(log[k].contains(reasons[k])) << log[k].toStdString();
    EXPECT_EQ(err.count("cannot be dispensed"), 3);
    // Nothing was poured for them: the balance holds the good jobs' rows only.
    EXPECT_EQ(logTexts().filter("< enter to dispen >").size(), 2);
}

// Settings that cannot drive the machine end a headless run with the reason
// and nothing dispensed: a tolerance of 1e9, a valve table of random bytes.
// The load names the values in the event log.
TEST_F(QueueRunnerTest, SettingsThatCannotDriveTheMachineEndTheRunWithTheReason) {
    valve(2, "NAOH", "35");
    startRun({{7, "1e9"}, {9, "1"}});
    queue(job("TOL", "1", "0", {{0, {"NAOH", "100"}}}));
    EXPECT_EQ(runQueue(), QueueRunner::kStuck);
    EXPECT_TRUE(
        err.contains("the run cannot go on: The settings cannot drive the machine: "
                     "setting 7 (metering tolerance) \"1e9\" is not 0.01 to 20"))
        << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(queued(), 1);
    EXPECT_TRUE(
        logTexts().contains("<load> setting 7 (metering tolerance) \"1e9\" is not 0.01 to 20"));
    EXPECT_TRUE(logTexts().filter("< enter to dispen >").isEmpty());

    ASSERT_TRUE(writeFile(dir.filePath(kValveTableFileName), noise(96 * 200, 12345)));
    out.clear();
    err.clear();
    startRun({{7, "2"}, {9, "1"}});
    EXPECT_EQ(runQueue(), QueueRunner::kStuck);
    EXPECT_TRUE(err.contains("The settings cannot drive the machine: the rate of valve 1"))
        << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(queued(), 1);
    EXPECT_EQ(logTexts().filter("<load> AA_Name.txt: bytes that are not text").size(), 1);
}

// A queue the job start cannot read ends the run at once with the reason; a
// queue that held only jobs that cannot be dispensed ends it normally.
TEST_F(QueueRunnerTest, OnlyRejectedJobsEndTheRunAndAQueueThatIsAFolderStopsItAtOnce) {
    valve(1, "A1", "40");
    startRun({{9, "1"}});
    queue(job("EMPTY", "1", "0", {}));
    EXPECT_EQ(runQueue(), QueueRunner::kIdle) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(queued(), 0);

    const QDir work(dir.path());
    ASSERT_TRUE(QFile::remove(work.filePath(kJobQueueFileName)));
    ASSERT_TRUE(work.mkdir(kJobQueueFileName));
    const qint64 from = station->scheduler.now();
    EXPECT_EQ(runQueue(), QueueRunner::kStuck);
    EXPECT_LT(station->scheduler.now() - from, 5000) << "at once, not after a wait";
    EXPECT_TRUE(err.contains("START_DISPEN.txt is a folder")) << err.toStdString();
    EXPECT_TRUE(form3().Status.startsWith("No job is taken: ")) << form3().Status.toStdString();
    station->scheduler.advance(5000);
    const QString reported = "<queue> " + work.filePath(kJobQueueFileName) + " is a folder";
    EXPECT_EQ(logTexts().filter(reported).size(), 1);
}
}  // namespace
}  // namespace dye::test
