#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "files/jobs/JobFile.h"

using namespace dye;
using dye::test::padded;

namespace {

JobRecord job(const QString& order, const QString& bucket = QString()) {
    JobRecord r;
    r.OrderNo = order;
    r.BucketNo = bucket;
    return r;
}

class JobFileTest : public ::testing::Test {
  protected:
    QTemporaryDir tmp;
    QDir dir{tmp.path()};

    QStringList orders(JobFile& file) {
        QStringList out;
        for (int n = 1; n <= file.count(); ++n) out.append(file.read(n)->OrderNo);
        return out;
    }
    JobFile filled(JobFile file, const QStringList& names) {
        for (const QString& name : names) EXPECT_TRUE(file.append(job(name)));
        return file;
    }
};

}  // namespace

TEST(JobRecord, BytesMatchTheLayoutBothWays) {
    JobRecord job;
    job.OrderNo = QStringLiteral("單號");
    job.BucketNo = QStringLiteral("B7");
    job.WaterAmount = QStringLiteral("120");
    job.Code[0] = QStringLiteral("RED-1");
    job.Code[9] = QStringLiteral("BLUE");
    job.Weight[0] = QStringLiteral("12.5");
    job.Weight[9] = QStringLiteral("0.25");
    job.QueuedAt = 46000.5;
    job.Tag1 = QStringLiteral("VAT");
    job.Tag4 = QStringLiteral("VZT");

    QByteArray expected;
    expected += padded("\xB3\xE6\xB8\xB9", 20);
    expected += padded("B7", 10) + padded("120", 10);
    expected += padded("RED-1", 20) + QByteArray(8 * 20, ' ') + padded("BLUE", 20);
    expected += padded("12.5", 10) + QByteArray(8 * 10, ' ') + padded("0.25", 10);
    expected += QByteArray("\x00\x00\x00\x00\x10\x76\xE6\x40", 8);  // 46000.5
    expected += padded("VAT", 10) + QByteArray(20, ' ') + padded("VZT", 10);
    expected += QByteArray(550, ' ') + "\r\n";
    ASSERT_EQ(expected.size(), 940);

    EXPECT_EQ(job.toBytes(), expected);
    EXPECT_EQ(JobRecord::fromBytes(expected), job);
}

TEST(JobRecord, LongTextIsCutAtTheFieldWidthInBytes) {
    JobRecord job;
    job.OrderNo = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY");  // 25 characters
    job.BucketNo = QStringLiteral("123456789單");               // 11 bytes: the character goes
    const QByteArray bytes = job.toBytes();
    EXPECT_EQ(bytes.left(20), QByteArray("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(bytes.mid(20, 10), QByteArray("123456789 "));
    const JobRecord back = JobRecord::fromBytes(bytes);
    EXPECT_EQ(back.OrderNo, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(back.BucketNo, QStringLiteral("123456789"));
}

TEST_F(JobFileTest, ListTextsAndTheRecordsTheyStandFor) {
    JobFile store = filled(recipeStoreFile(dir), {"R1", "R2", "R3"});
    const QString pad(18, QLatin1Char(' '));
    EXPECT_EQ(store.recipeListTexts(), (QStringList{"R3" + pad, "R2" + pad, "R1" + pad}));
    // Deleting list entry 1 removes record 2; former record 3 becomes 2.
    ASSERT_TRUE(store.remove(recipeListRecord(1, store.count())));
    EXPECT_EQ(orders(store), (QStringList{"R1", "R3"}));

    JobFile queue = jobQueueFile(dir);
    ASSERT_TRUE(queue.append(job(QStringLiteral(" 單號 "), QStringLiteral(" 7 "))));
    ASSERT_TRUE(queue.append(job(QStringLiteral("O2"))));
    EXPECT_EQ(queue.queueListTexts(), (QStringList{QStringLiteral("單號---7"), "O2---"}));
    EXPECT_EQ(queueListRecord(1), 2);
}

TEST_F(JobFileTest, OutOfRangeAndUnusableFolderAreReported) {
    JobFile store = filled(recipeStoreFile(dir), {"A", "B"});
    ASSERT_TRUE(store.replace(2, job("B2")));
    EXPECT_EQ(orders(store), (QStringList{"A", "B2"}));
    EXPECT_FALSE(store.replace(3, job("C")));
    EXPECT_FALSE(store.read(3).has_value());

    JobFile queue = jobQueueFile(QDir(dir.filePath("missing")));
    EXPECT_EQ(queue.count(), 0);
    EXPECT_FALSE(queue.errorString().isEmpty());
    EXPECT_FALSE(queue.append(job("A")));
    EXPECT_TRUE(queue.errorString().contains(kJobQueueFileName))
        << queue.errorString().toStdString();
    EXPECT_TRUE(queue.queueListTexts().isEmpty());
}

// A record set aside goes to the rejected file byte for byte, and only while
// it is still the record the caller read; a torn last record goes with the
// next change of the queue, completed from a blank record (here only its LF
// was missing).
TEST_F(JobFileTest, SetAsideAndTornRecordsGoToTheRejectedFileByteForByte) {
    JobFile queue = filled(jobQueueFile(dir), {"A", "B", "C"});
    EXPECT_FALSE(queue.setAside(2, job("X")));  // record 2 is B, not X: nothing moves
    ASSERT_TRUE(queue.setAside(2, job("B")));
    EXPECT_EQ(orders(queue), (QStringList{"A", "C"}));
    const QByteArray last = dye::test::fileBytes(queue.path()).mid(JobRecord::kLength);
    ASSERT_TRUE(QFile::resize(queue.path(), 2 * JobRecord::kLength - 1));
    ASSERT_TRUE(queue.append(job("D")));
    EXPECT_EQ(orders(queue), (QStringList{"A", "D"}));
    EXPECT_EQ(dye::test::fileBytes(queue.rejectedPath()), job("B").toBytes() + last);
}
