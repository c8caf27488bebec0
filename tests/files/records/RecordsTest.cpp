#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "TestFiles.h"
#include "files/records/DailyRecordFile.h"
#include "files/records/EventLog.h"

using namespace dye;
using dye::test::fileBytes;
using dye::test::padded;

namespace {

DailyRecord finished(const QString& order, const QDateTime& at) {
    DailyRecord r;
    r.OrderNo = order;
    r.setFinishTime(at);
    return r;
}

}  // namespace

TEST(DailyRecord, BytesMatchTheLayoutBothWays) {
    DailyRecord r;
    r.OrderNo = QStringLiteral("單號");
    r.BucketNo = QStringLiteral("12");
    r.WaterAmount = QStringLiteral("100");
    r.ActualWater = QStringLiteral("99.5");
    r.Code[0] = QStringLiteral("RED");
    r.RecipeWeight[0] = QStringLiteral("12.5");
    r.ActualWeight[0] = QStringLiteral("12.6");
    r.Code[9] = QStringLiteral("BLUE");
    r.ActualWeight[9] = QStringLiteral("1");
    r.setFinishTime(QDateTime(QDate(2026, 12, 5), QTime(6, 0)));
    r.Extra[0] = QStringLiteral("VAT");
    r.Extra[3] = QStringLiteral("VZT");

    QByteArray expected =
        padded("\xB3\xE6\xB8\xB9", 20) + padded("12", 10) + padded("100", 10) + padded("99.5", 10);
    expected += padded("RED", 20) + QByteArray(8 * 20, ' ') + padded("BLUE", 20);
    expected += padded("12.5", 10) + QByteArray(9 * 10, ' ');
    expected += padded("12.6", 10) + QByteArray(8 * 10, ' ') + padded("1", 10);
    expected += padded("2026-12-05 06:00:00", 30);
    expected += QByteArray("\x00\x00\x00\x00\x28\xA3\xE6\x40", 8);  // 46361.25
    expected += padded("VAT", 10) + QByteArray(20, ' ') + padded("VZT", 10);
    expected += QByteArray(550, '\0') + "\r\n";
    ASSERT_EQ(expected.size(), 1080);

    EXPECT_EQ(r.toBytes(), expected);
    EXPECT_EQ(DailyRecord::fromBytes(expected), r);
}

TEST(DailyRecord, ADateOutOfRangeInTheFileIsNoDate) {
    DailyRecord r = finished("A", QDateTime(QDate(2026, 12, 5), QTime(6, 0)));
    QByteArray bytes = r.toBytes();
    qToLittleEndian<double>(1e300, bytes.data() + 480);
    const DailyRecord read = DailyRecord::fromBytes(bytes);
    EXPECT_FALSE(read.finishTime().isValid());
    EXPECT_EQ(read.FinishText, r.FinishText);
}

TEST(DailyRecordFile, LastSecondOfAMonthGoesIntoThatMonthsFile) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QDateTime last(QDate(2026, 1, 31), QTime(23, 59, 59));
    // Two jobs in the same second are both kept; the next second opens a
    // new month's file. data/ is created on the first append.
    ASSERT_TRUE(AppendDailyRecord(dir, finished("A", last)));
    ASSERT_TRUE(AppendDailyRecord(dir, finished("B", last)));
    ASSERT_TRUE(AppendDailyRecord(dir, finished("C", last.addSecs(1))));

    QList<DailyRecord> records;
    ASSERT_TRUE(readDailyRecords(dir.filePath("data/DATE_202601.txt"), records));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].OrderNo, QStringLiteral("A"));
    EXPECT_EQ(records[1].FinishText, QStringLiteral("2026-01-31 23:59:59"));
    ASSERT_TRUE(readDailyRecords(dailyRecordPath(dir, QDate(2026, 2, 1)), records));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].OrderNo, QStringLiteral("C"));
}

// A record cut short by a kill goes to the month's torn file before the next
// one is written, so the month's file holds whole records and no job twice.
TEST(DailyRecordFile, ACutShortRecordIsMovedToTheTornFileAndSaid) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QDateTime at(QDate(2026, 3, 2), QTime(9, 0));
    ASSERT_TRUE(AppendDailyRecord(dir, finished("A", at)));
    const QString path = dailyRecordPath(dir, at.date());
    const QByteArray cut = finished("B", at).toBytes().left(500);
    ASSERT_TRUE(dye::test::appendFile(path, cut));
    QString error, kept;
    ASSERT_TRUE(AppendDailyRecord(dir, finished("B", at), &error, &kept));
    EXPECT_TRUE(kept.contains("500 bytes")) << kept.toStdString();
    EXPECT_EQ(fileBytes(path), finished("A", at).toBytes() + finished("B", at).toBytes());
    EXPECT_TRUE(fileBytes(tornDailyRecordPath(dir, at.date())).startsWith(cut));

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(dir.mkdir("data/DATE_202603.txt"));
    EXPECT_FALSE(AppendDailyRecord(dir, finished("C", at), &error));
    EXPECT_TRUE(error.contains("is a folder")) << error.toStdString();
    QList<DailyRecord> records;
    EXPECT_FALSE(readDailyRecords(path, records, &error));
}

TEST(EventLog, FileNamesDropLeadingZeros) {
    const QDir dir(QStringLiteral("/w"));
    EXPECT_EQ(eventLogPath(dir, QDate(2026, 12, 5)), QStringLiteral("/w/LOG/2026125log.txt"));
    // Two dates, one name: both days share the file.
    EXPECT_EQ(eventLogPath(dir, QDate(2026, 1, 12)), eventLogPath(dir, QDate(2026, 11, 2)));
    EXPECT_EQ(writeLogPath(dir, QStringLiteral(" A-7 "), QDate(2026, 3, 9)),
              QStringLiteral("/w/LOG/Write-A-7-202639log.txt"));
    EXPECT_EQ(writeLogPath(dir, QStringLiteral("../x"), QDate(2026, 3, 9)),
              QStringLiteral("/w/LOG/Write-.._x-202639log.txt"));
}

TEST(EventLog, RecordsArePaddedAndLongLinesAreCutBeforeTheirLineEnd) {
    EXPECT_EQ(logRecord(QStringLiteral("abc")), padded("abc\r\n", 200));
    const QString fits(198, QLatin1Char('x'));
    EXPECT_EQ(logRecord(fits), QByteArray(198, 'x') + "\r\n");
    EXPECT_EQ(logRecord(fits + "yz"), QByteArray(198, 'x') + "\r\n");
    // A double-byte character that does not fit whole is not split.
    EXPECT_EQ(logRecord(QString(197, QLatin1Char('x')) + QStringLiteral("單")),
              QByteArray(197, 'x') + " \r\n");
}

TEST(EventLog, TheLastLoggedTimeIsFoundOnTheDayOrPastMidnight) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QDate day(2026, 12, 5);
    EXPECT_FALSE(lastLoggedTime(dir, day).isValid());
    ASSERT_TRUE(AppendLog(dir, QDateTime(day, QTime(23, 59, 58)), QStringLiteral("a")));
    EXPECT_EQ(lastLoggedTime(dir, day), QDateTime(day, QTime(23, 59, 58)));
    // A run on virtual time went past midnight: the next day's log is newer.
    ASSERT_TRUE(AppendLog(dir, QDateTime(day.addDays(1), QTime(0, 0, 7)), QStringLiteral("b")));
    EXPECT_EQ(lastLoggedTime(dir, day), QDateTime(day.addDays(1), QTime(0, 0, 7)));
    // A torn last record is not read; the whole one before it is.
    ASSERT_TRUE(dye::test::appendFile(eventLogPath(dir, day.addDays(1)), "2027/1/1 0:"));
    EXPECT_EQ(lastLoggedTime(dir, day), QDateTime(day.addDays(1), QTime(0, 0, 7)));
}

TEST(EventLog, AppendsDatedLinesAndWriteLogLines) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QDateTime now(QDate(2026, 12, 5), QTime(8, 3, 9));
    ASSERT_TRUE(AppendLog(dir, now, QStringLiteral("< washing >")));
    ASSERT_TRUE(AppendLog(dir, now, QStringLiteral("   <登入成功>")));
    EXPECT_EQ(fileBytes(dir.filePath("LOG/2026125log.txt")),
              padded("2026/12/5 8:03:09   < washing >\r\n", 200) +
                  padded("2026/12/5 8:03:09      <\xB5\x6E\xA4\x4A\xA6\xA8\xA5\x5C>\r\n", 200));

    ASSERT_TRUE(AppendWriteLog(dir, QStringLiteral("A7"), now,
                               {QStringLiteral("UPDATE x"), QStringLiteral("RED --- 12.6")}));
    EXPECT_EQ(fileBytes(dir.filePath("LOG/Write-A7-2026125log.txt")),
              padded("UPDATE x\r\n", 200) + padded("RED --- 12.6\r\n", 200));
}

TEST(EventLog, UnwritableLocationsAreReported) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QDateTime now(QDate(2026, 12, 5), QTime(8, 3, 9));
    EXPECT_FALSE(AppendLog(QDir(dir.filePath("gone")), now, QStringLiteral("x")));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("LOG/2026125log.txt")));  // a folder takes the name
    QString error;
    EXPECT_FALSE(AppendLog(dir, now, QStringLiteral("x"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("2026125log.txt")));
    ASSERT_TRUE(dye::test::writeFile(dir.filePath("data"), {}));  // a file, not a folder
    EXPECT_FALSE(AppendDailyRecord(dir, finished("A", now), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("data")));
}
