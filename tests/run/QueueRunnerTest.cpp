// The headless queue run: one line per finished job, and the reason when a
// job cannot finish.
#include <QFile>
#include <QRegularExpression>

#include "app/QueueRunner.h"
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

TEST_F(QueueRunnerTest, AJobThatCannotRunEndsTheRunWithTheReason) {
    startRun();
    queue(job("NOBUCKET", "", "0", {}));
    EXPECT_EQ(runQueue(), QueueRunner::kStuck);
    EXPECT_TRUE(err.contains("NOBUCKET has no bucket number"));
    EXPECT_EQ(queued(), 1);  // nothing lost
}

// With the record folder unwritable no job is dispensed at all: the queue
// stays whole and the run says why at once, not hours later.
TEST_F(QueueRunnerTest, NoJobIsTakenWhileItsRecordCouldNotBeWritten) {
    startRun();
    QFile blocker(QDir(dir.path()).filePath("data"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
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

}  // namespace
}  // namespace dye::test
