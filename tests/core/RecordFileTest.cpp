#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <random>

#include "core/RecordFile.h"

using namespace dye;

namespace {

QByteArray rec(char c, int len = 8) {
    QByteArray r(len - 2, c);
    return r + "\r\n";
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class RecordFileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    RecordFile filled(const char* letters) {
        RecordFile f(path("F.txt"), 8, path("F2.txt"));
        for (const char* c = letters; *c; ++c) EXPECT_TRUE(f.append(rec(*c)));
        return f;
    }
};

}  // namespace

TEST_F(RecordFileTest, CountReadWriteAppend) {
    RecordFile f(path("F.txt"), 8);
    EXPECT_FALSE(QFileInfo::exists(path("F.txt")));
    EXPECT_EQ(f.count(), 0);
    EXPECT_TRUE(QFileInfo::exists(path("F.txt")));  // created empty, as opening always did
    EXPECT_TRUE(f.append(rec('a')));
    EXPECT_TRUE(f.append(rec('b')));
    EXPECT_EQ(f.count(), 2);
    EXPECT_EQ(f.read(2), rec('b'));
    EXPECT_EQ(f.read(3), QByteArray(8, '\0'));  // beyond the end: blank
    EXPECT_TRUE(f.write(1, "xy"));              // short record padded with spaces
    EXPECT_EQ(f.read(1), QByteArray("xy      "));
    EXPECT_EQ(fileBytes(path("F.txt")), QByteArray("xy      ") + rec('b'));
}

TEST_F(RecordFileTest, PartialTrailingRecordIsNotCountedAndIsOverwrittenByAppend) {
    QFile raw(path("F.txt"));
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write(rec('a') + "zz");
    raw.close();
    RecordFile f(path("F.txt"), 8);
    EXPECT_EQ(f.count(), 1);
    EXPECT_EQ(f.read(2), QByteArray("zz") + QByteArray(6, '\0'));
    EXPECT_TRUE(f.append(rec('b')));
    EXPECT_EQ(fileBytes(path("F.txt")), rec('a') + rec('b'));
}

TEST_F(RecordFileTest, ReadAllGivesTheWholeRecordsAsCountingAndReadingDo) {
    RecordFile absent(path("A.txt"), 8);
    EXPECT_TRUE(absent.readAll().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(path("A.txt")));  // created empty, as counting does

    RecordFile f = filled("abc");
    QFile raw(path("F.txt"));
    ASSERT_TRUE(raw.open(QIODevice::Append));
    raw.write("zz");  // a partial record at the end is not one of them
    raw.close();
    EXPECT_EQ(f.readAll(), (QList<QByteArray>{rec('a'), rec('b'), rec('c')}));
    EXPECT_EQ(f.readAll(), f.readRange(1, f.count()));
    EXPECT_TRUE(f.errorString().isEmpty());

    RecordFile folder(dir.path(), 8);  // cannot be opened as a file: reported
    folder.readAll();
    EXPECT_TRUE(folder.errorString().startsWith(QStringLiteral("cannot open")));
}

TEST_F(RecordFileTest, RemoveFirstMiddleLastAndOnly) {
    RecordFile f = filled("abcd");
    EXPECT_TRUE(f.remove(1));
    EXPECT_EQ(fileBytes(path("F.txt")), rec('b') + rec('c') + rec('d'));
    EXPECT_TRUE(f.remove(2));
    EXPECT_EQ(fileBytes(path("F.txt")), rec('b') + rec('d'));
    EXPECT_TRUE(f.remove(2));
    EXPECT_EQ(fileBytes(path("F.txt")), rec('b'));
    EXPECT_TRUE(f.remove(1));
    EXPECT_TRUE(QFileInfo::exists(path("F.txt")));  // the only record gone: empty, not absent
    EXPECT_EQ(QFileInfo(path("F.txt")).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(path("F2.txt")));  // the scratch file never stays behind
    EXPECT_FALSE(f.remove(1));
    EXPECT_FALSE(f.errorString().isEmpty());
}

TEST_F(RecordFileTest, FailuresAreReportedNotThrown) {
    RecordFile f(dir.filePath("no/such/folder/F.txt"), 8);
    EXPECT_FALSE(f.append(rec('a')));
    EXPECT_TRUE(f.errorString().contains("F.txt"));
    EXPECT_EQ(f.count(), 0);
    EXPECT_EQ(f.read(1), QByteArray(8, '\0'));
}

// A removal killed at any instant leaves either the old or the new file whole.
TEST_F(RecordFileTest, InterruptedRemovalLeavesOldOrNewFile) {
    constexpr int kRecords = 4000;
    constexpr int kLen = 940;
    QByteArray original;
    for (int i = 0; i < kRecords; ++i) {
        QByteArray r = QByteArray::number(i).leftJustified(kLen - 2, '.') + "\r\n";
        original += r;
    }
    QByteArray removed = original;
    removed.remove(kLen, kLen);  // record 2 gone

    auto writeOriginal = [&] {
        QFile f(path("Q.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(original);
    };
    auto startRemoval = [&] {
        pid_t child = fork();
        if (child == 0) {
            RecordFile q(path("Q.txt"), kLen, path("Q2.txt"));
            q.remove(2);
            _exit(0);
        }
        return child;
    };
    // Measure one whole removal (with the child's start) to aim the kills.
    writeOriginal();
    QElapsedTimer clock;
    clock.start();
    pid_t probe = startRemoval();
    ASSERT_GE(probe, 0);
    waitpid(probe, nullptr, 0);
    const int wholeUs = int(clock.nsecsElapsed() / 1000);

    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> delay(0, wholeUs * 3 / 2);
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < 40; ++round) {
        writeOriginal();
        pid_t child = startRemoval();
        ASSERT_GE(child, 0);
        usleep(useconds_t(delay(rng)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const QByteArray now = fileBytes(path("Q.txt"));
        ASSERT_TRUE(now == original || now == removed)
            << "round " << round << ": mixed file of " << now.size() << " bytes";
        (now == original ? sawOld : sawNew)++;
    }
    // Both outcomes occur, so the kills did land inside the removal.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}
