#include <QFile>

#include "app/StationFixture.h"
#include "files/jobs/JobFile.h"
#include "run/RunLists.h"

using namespace dye;
using namespace dye::test;

namespace {

class QueueListTest : public StationFixture {
  protected:
    QString queuePath() const { return QDir(dir.path()).filePath(kJobQueueFileName); }

    // Appends `n` jobs from another program, in one write.
    void queueFromElsewhere(int from, int n) {
        QByteArray bytes;
        for (int i = from; i < from + n; ++i) {
            JobRecord job;
            job.OrderNo = QStringLiteral("Q%1").arg(i);
            job.BucketNo = QStringLiteral("1");
            job.QueuedAt = 46000.0 + i;
            bytes += job.toBytes();
        }
        ASSERT_TRUE(appendFile(queuePath(), bytes));
    }
};

}  // namespace

// A long queue shows its first jobs and how many more wait; the job start
// reads it again only when the file changed, so a selection made in the list
// stays until then; the counting line deletes nothing.
TEST_F(QueueListTest, LongQueueListedInPartAndReadOnlyWhenChanged) {
    start({{9, "1"}});
    queueFromElsewhere(1, kQueueListLines + 3);
    station->jobStart().tick();
    const ListBox& list = state().form3.List2;
    ASSERT_EQ(list.items.size(), kQueueListLines + 1);
    EXPECT_EQ(list.items.front(), QStringLiteral("Q1---1"));
    EXPECT_EQ(list.items.back(), queueMoreLine(3));
    EXPECT_EQ(list.ItemData.size(), kQueueListLines);
    EXPECT_EQ(state().form11.List1.items, list.items);

    state().form3.List2.ListIndex = 4;
    station->jobStart().tick();
    EXPECT_EQ(list.ListIndex, 4);  // not read again: the file is as it was

    queueFromElsewhere(kQueueListLines + 4, 1);
    station->jobStart().tick();
    EXPECT_EQ(list.items.back(), queueMoreLine(4));
    EXPECT_EQ(list.ListIndex, -1);

    state().form3.List2.ListIndex = kQueueListLines;
    const qint64 size = QFileInfo(queuePath()).size();
    station->queueEditor().deleteSelected();
    EXPECT_EQ(QFileInfo(queuePath()).size(), size);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("counts the jobs it does not show")));
}
