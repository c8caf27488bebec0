// The headless queue run: one line per finished job, and the reason when a
// job cannot finish.
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
    EXPECT_TRUE(lines[0].startsWith("Q-1  bucket 1  lines 1  recipe 100  actual 1"));
    EXPECT_TRUE(lines[1].startsWith("<<<single>>>  bucket 2  lines 1  recipe 40  actual "));
    EXPECT_TRUE(lines[1].contains("machine 00:0"));
    EXPECT_EQ(queued(), 0);
}

TEST_F(QueueRunnerTest, AJobThatCannotRunEndsTheRunWithTheReason) {
    startRun();
    queue(job("NOBUCKET", "", "0", {}));
    EXPECT_EQ(runQueue(), QueueRunner::kStuck);
    EXPECT_TRUE(err.contains("NOBUCKET has no bucket number"));
    EXPECT_EQ(queued(), 1);  // nothing lost
}

}  // namespace
}  // namespace dye::test
