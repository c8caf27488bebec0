#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "files/settings/MixFiles.h"
#include "files/settings/SettingsFiles.h"

using namespace dye;
using dye::test::padded;

namespace {

const QByteArray kDanHao("\xB3\xE6\xB8\xB9", 4);  // "單號" in Big5

class SettingsFilesTest : public ::testing::Test {
  protected:
    QTemporaryDir tmp;
    QDir dir{tmp.path()};

    QByteArray bytes(const char* name) const { return dye::test::fileBytes(dir.filePath(name)); }
    void put(const char* name, const QByteArray& content) const {
        ASSERT_TRUE(dye::test::writeFile(dir.filePath(QString::fromLatin1(name)), content));
    }
};

}  // namespace

TEST_F(SettingsFilesTest, SettingsFieldsLoadTrimmedAndSaveOneRecordAtOnce) {
    put("JUCIsetting.txt", padded("3", 200) + padded("  45", 200) + padded(kDanHao, 200));
    MachineSettings s;
    ASSERT_TRUE(loadSettingsFields(dir, s));
    EXPECT_EQ(s.Text1(0), QStringLiteral("3"));
    EXPECT_EQ(s.number(1), 45.0);
    EXPECT_EQ(s.Text1(2), QStringLiteral("單號"));
    EXPECT_EQ(s.Text1(3), QString());  // beyond the end

    ASSERT_TRUE(saveSettingsField(dir, 4, QStringLiteral("  2  ")));  // record 5
    EXPECT_EQ(bytes("JUCIsetting.txt").mid(600), QByteArray(200, '\0') + padded("2", 200));
    // A 201-byte value keeps its first 200 bytes; a Chinese value is limited
    // in bytes and never split.
    ASSERT_TRUE(saveSettingsField(dir, 0, QString(201, QLatin1Char('9'))));
    ASSERT_TRUE(saveSettingsField(dir, 1, QString(197, QLatin1Char('A')) + QStringLiteral("單號")));
    EXPECT_EQ(bytes("JUCIsetting.txt").left(400),
              QByteArray(200, '9') + QByteArray(197, 'A') + QByteArray("\xB3\xE6 ", 3));
    EXPECT_FALSE(saveSettingsField(dir, 38, QStringLiteral("x")));
}

TEST_F(SettingsFilesTest, ValveColumnsAndWashSlotsMapToTheirRecords) {
    QByteArray table;
    for (int r = 1; r <= 128; ++r) table += padded(QByteArray::number(r), 200);
    put("AA_Name.txt", table);
    put("WASHsetting.txt", table);
    MachineSettings s;
    ASSERT_TRUE(loadMachineSettings(dir, s));
    EXPECT_EQ(s.valveCode(3), QStringLiteral("3"));
    EXPECT_EQ(s.valveRate(3), 27.0);
    EXPECT_EQ(s.valveName(24), QStringLiteral("72"));
    EXPECT_EQ(s.valveMinimumTime(24), 96.0);
    EXPECT_EQ(s.washCount(2), 2.0);
    EXPECT_EQ(s.washWater(2), 66.0);
}

TEST_F(SettingsFilesTest, TeachSlotsLoadAndSaveByScreen) {
    put("XZ_Name.txt", padded("100", 20) + padded("-5", 20) + padded(kDanHao, 20));
    const QByteArray y = padded("250", 20) + QByteArray(63 * 20, ' ') + padded("12", 20);
    put("Y_Name.txt", y);
    MachineSettings s;
    ASSERT_TRUE(loadTeachSlots(dir, s));
    EXPECT_EQ(s.teachSlot(1), (TeachSlot{"100", "-5", QStringLiteral("單號"), "250"}));
    EXPECT_EQ(s.xCompensation(), QStringLiteral("12"));

    // The settings screen writes XZ records 1..25 only; the position screen
    // slots 1..64 of both files, leaving the compensations to their own save.
    s.setTeachSlot(1, TeachSlot{" 101 ", "-5", "N", "999"});
    ASSERT_TRUE(saveTeachSlots(dir, s, TeachSlotScope::SettingsScreen));
    EXPECT_EQ(bytes("XZ_Name.txt"),
              padded("101", 20) + padded("-5", 20) + padded("N", 20) + QByteArray(24 * 60, ' '));
    EXPECT_EQ(bytes("Y_Name.txt"), y);
    ASSERT_TRUE(saveTeachSlots(dir, s, TeachSlotScope::PositionScreen));
    ASSERT_TRUE(saveYCompensation(dir, QStringLiteral("9")));
    EXPECT_EQ(bytes("XZ_Name.txt").size(), 64 * 60);
    EXPECT_EQ(bytes("Y_Name.txt"), padded("999", 20) + y.mid(20) + padded("9", 20));
}

TEST_F(SettingsFilesTest, MissingFilesReadBlankAndUnusableFoldersAreReported) {
    MachineSettings s;
    s.setText1(1, QStringLiteral("stale"));
    ASSERT_TRUE(loadMachineSettings(dir, s));
    EXPECT_EQ(s.number(1), 0.0);  // no scan interval: the scan stays off
    EXPECT_TRUE(QFile::exists(dir.filePath("XZ_Name.txt")));  // created empty

    const QDir bad(dir.filePath("JUCIsetting.txt"));  // a file as the working directory
    s.setText1(0, QStringLiteral("old"));
    QString error;
    EXPECT_FALSE(loadMachineSettings(bad, s, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("AA_Name.txt")));
    EXPECT_TRUE(error.contains(QStringLiteral("Y_Name.txt")));
    EXPECT_EQ(s.Text1(0), QString());
    EXPECT_FALSE(saveTeachSlots(bad, s, TeachSlotScope::PositionScreen));
}

TEST_F(SettingsFilesTest, ShortLongAndRandomSettingsAndValveFilesAreNamed) {
    auto records = [](int n) { return QByteArray(n * 200, ' '); };
    put("JUCIsetting.txt", records(38));
    put("AA_Name.txt", records(96));
    EXPECT_EQ(settingsFileFindings(dir), QStringList());

    put("JUCIsetting.txt", records(30));
    put("AA_Name.txt", records(50));
    QStringList lines = settingsFileFindings(dir);
    ASSERT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines[0],
              QStringLiteral("JUCIsetting.txt holds 30 of its 38 records: records "
                             "31..38 are missing, read as blank (settings fields 30..37)"));
    EXPECT_EQ(lines[1], QStringLiteral("AA_Name.txt holds 50 of its 96 records: records 51..96 are "
                                       "missing, read as blank (the name of valves 3..24; the "
                                       "shortest opening of every valve)"));
    put("AA_Name.txt", records(10));
    EXPECT_TRUE(settingsFileFindings(dir).value(1).endsWith(
        QStringLiteral("(the code of valves 11..24; the rate, name and shortest opening of every "
                       "valve)")));

    // A cut last record still holds its text; one whole record missing is named alone.
    put("JUCIsetting.txt", records(37) + "1");
    put("AA_Name.txt", records(95));
    lines = settingsFileFindings(dir);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("record 96 is missing")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("(the shortest opening of valve 24)")));

    // A settings file far longer than its records, or random bytes in it, is
    // named rather than read in silence.
    put("JUCIsetting.txt", QByteArray(1 << 20, ' '));
    put("AA_Name.txt", dye::test::noise(96 * 200, 7));
    lines = settingsFileFindings(dir);
    ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("JUCIsetting.txt is 1048576 bytes, longer than its 38 "
                                       "records of 200 bytes: what lies beyond record 38 is not "
                                       "read"));
    EXPECT_TRUE(
        lines[1].startsWith("AA_Name.txt: bytes that are not text in records 1, 2, 3, 4, 5, "
                            "6 and 90 more"))
        << lines[1].toStdString();
}

TEST(MixFiles, FolderTextGoesInFrontOfTheFileName) {
    const QDir dir(QStringLiteral("/w"));
    EXPECT_EQ(dyeMixFilePath(dir, QStringLiteral(" mix\\ "), kDyeMixFileName),
              QStringLiteral("/w/mix/DYE_MIX.txt"));
    EXPECT_EQ(dyeMixFilePath(dir, QStringLiteral("mix"), kDyeMixFileName),
              QStringLiteral("/w/mixDYE_MIX.txt"));  // nothing added between
    EXPECT_EQ(dyeMixFilePath(dir, QStringLiteral("\\\\srv\\share\\"), kMixMarksFileName),
              QStringLiteral("//srv/share/MIX_C.txt"));
}

TEST(MixFiles, MixMarksAreLittleEndianShortsAndShortFilesReadZero) {
    QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(kMixMarksFileName);
    ASSERT_TRUE(resetMixMarks(path));
    ASSERT_TRUE(writeMixMark(path, 2, 1));
    ASSERT_TRUE(writeMixMark(path, 30, -2));
    QByteArray expected(60, '\0');
    expected[2] = 1;
    expected[58] = char(0xFE);
    expected[59] = char(0xFF);
    EXPECT_EQ(dye::test::fileBytes(path), expected);

    QList<qint16> marks;
    ASSERT_TRUE(loadMixMarks(path, marks));
    EXPECT_EQ(marks[29], -2);
    ASSERT_TRUE(QFile(path).resize(5));  // half of record 3 left
    ASSERT_TRUE(loadMixMarks(path, marks));
    ASSERT_EQ(marks.size(), 30);
    EXPECT_EQ(marks[1], 1);
    EXPECT_EQ(marks[2], 0);
    EXPECT_EQ(marks[29], 0);
}

TEST(MixFiles, BucketFlags) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    ASSERT_TRUE(resetBucketFlags(dir));
    ASSERT_TRUE(setBucketFlag(dir, 7));
    QByteArray expected(200, '0');
    expected[6] = '1';
    EXPECT_EQ(dye::test::fileBytes(dir.filePath("light.txt")), expected);
    EXPECT_FALSE(setBucketFlag(dir, 0));
    EXPECT_FALSE(setBucketFlag(dir, 201));
}
