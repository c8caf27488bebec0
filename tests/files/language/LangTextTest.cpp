#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"
#include "files/language/ToSimplified.h"

using namespace dye;

namespace {

// "停止" and "單號" in Big5.
const QByteArray kStop("\xB0\xB1\xA4\xEE", 4);
const QByteArray kDanHao("\xB3\xE6\xB8\xB9", 4);

QByteArray padded(const QByteArray& bytes, char fill = ' ') {
    return bytes + QByteArray(LanguageFile::kRecordLength - bytes.size(), fill);
}

class LanguageFileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("language.txt"));

    // Writes records 1..n by hand; record r is records[r - 1].
    void writeRecords(const QList<QByteArray>& records, const QByteArray& tail = {}) {
        ASSERT_TRUE(dye::test::writeFile(path, records.join() + tail));
    }
    QByteArray fileBytes() { return dye::test::fileBytes(path); }
};

}  // namespace

TEST(LanguageRecord, TextEndsAtTheFirstRunOfThreeSpaces) {
    EXPECT_EQ(LanguageFile::textOf(padded(kStop)), QStringLiteral("停止"));
    EXPECT_EQ(LanguageFile::textOf(padded("RUN   more text")), QStringLiteral("RUN"));
    EXPECT_EQ(LanguageFile::textOf(padded("")), QString(""));
    // Fewer than three spaces belong to the text, leading ones too.
    EXPECT_EQ(LanguageFile::textOf(padded("  A  B")), QStringLiteral("  A  B"));
    // No run at all: a full record, or a record beyond the end of the file.
    EXPECT_EQ(LanguageFile::textOf(padded("", 'x')), std::nullopt);
    EXPECT_EQ(LanguageFile::textOf(padded("", '\0')), std::nullopt);
}

TEST_F(LanguageFileTest, WhatTheFileLacksShowsTheShippedCaptionsAndIsNamed) {
    LangText shipped;
    shipped.fillShipped();
    ASSERT_EQ(shipped.text(1, 1), QStringLiteral("STOP"));

    LangText table;
    const QByteArray full = dye::test::numberedRecords(360, "old");
    writeRecords({full});
    EXPECT_EQ(table.load(path), QString());
    EXPECT_EQ(table.entry(359), QStringLiteral("old360"));

    // Records of bytes that are not text (random bytes, another program's
    // data) are named, and their captions stay the shipped ones.
    using dye::test::withRecord;
    writeRecords(
        {withRecord(withRecord(full, 2, QByteArray(200, '\x07')), 201, "\x1b[2J\xff\xfe")});
    EXPECT_EQ(table.load(path),
              QStringLiteral("language.txt: 2 of its 360 records hold bytes that are not text: "
                             "they show the captions the station ships with"));
    EXPECT_EQ(table.entry(1), shipped.entry(1));
    EXPECT_EQ(table.entry(200), shipped.entry(200));
    EXPECT_EQ(table.entry(2), QStringLiteral("old3"));

    // Two whole records, then half a record without a run of spaces: the
    // blank record stays blank, the rest is shipped.
    writeRecords({padded(kStop), padded("")}, QByteArray(100, 'x'));
    const QString said = table.load(path);
    EXPECT_TRUE(said.contains(QStringLiteral("holds 2 of its 360 records: records 3..360")))
        << said.toStdString();
    EXPECT_EQ(table.entry(0), QStringLiteral("停止"));
    EXPECT_EQ(table.entry(1), QString());
    for (int i : {2, 121, 243, 359}) EXPECT_EQ(table.entry(i), shipped.entry(i)) << i;
    EXPECT_EQ(table.entry(360), QString());
}

TEST_F(LanguageFileTest, MissingOrUnreadableFileFallsBackToTheShippedCaptions) {
    LangText table;
    EXPECT_TRUE(table.load(path).contains(QStringLiteral("language.txt is missing")));
    EXPECT_TRUE(QFile::exists(path));  // created empty, as every file of the station
    EXPECT_EQ(fileBytes().size(), 0);
    EXPECT_EQ(table.text(0, 1), QStringLiteral("停止"));
    EXPECT_TRUE(table.load(path).contains(QStringLiteral("language.txt is empty")));
    EXPECT_EQ(table.text(2, 3), QStringLiteral("单号"));

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("language.txt")));
    EXPECT_TRUE(table.load(path).contains(QStringLiteral("cannot be read")));
    EXPECT_EQ(table.text(1, 2), QStringLiteral("RUN"));
}

TEST_F(LanguageFileTest, TextKOfLanguageLIsRecord120LPlusKPlus1) {
    writeRecords({dye::test::withRecord(dye::test::numberedRecords(360, "record"), 241, kDanHao)});
    LangText table;
    table.load(path);

    EXPECT_EQ(table.text(1, 1), QStringLiteral("record122"));
    EXPECT_EQ(table.entry(121), QStringLiteral("record122"));
    EXPECT_EQ(table.text(0, 119), QStringLiteral("record120"));
    // Language 2 shows Simplified characters whatever the Big5 file holds.
    EXPECT_EQ(table.text(2, 0), QStringLiteral("单号"));
    // A language number the table has no block for falls back to language 0.
    EXPECT_EQ(table.text(3, 1), QStringLiteral("record2"));
    EXPECT_EQ(table.text(-1, 1), QStringLiteral("record2"));
    EXPECT_EQ(table.text(2, 120), QString());
}

TEST_F(LanguageFileTest, SavedEntryIsTrimmedPaddedAndCutAt200Bytes) {
    ASSERT_TRUE(LanguageFile::saveEntry(path, 121, QStringLiteral("  STOP  ")));
    QByteArray bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 122 * 200);
    EXPECT_EQ(bytes.mid(121 * 200), padded("STOP"));

    // 101 double-byte characters after one letter: the last one would straddle
    // byte 200, so a space takes its place.
    const QString longText = QStringLiteral("A") + QString(101, QChar(0x55AE));
    ASSERT_TRUE(LanguageFile::saveEntry(path, 0, longText));
    bytes = fileBytes();
    EXPECT_EQ(bytes.left(200), "A" + kDanHao.left(2).repeated(99) + " ");

    // A text holding three spaces is stored whole; the table keeps the part before.
    ASSERT_TRUE(LanguageFile::saveEntry(path, 1, QStringLiteral("RUN   NOW")));
    EXPECT_EQ(fileBytes().mid(200, 9), QByteArray("RUN   NOW"));
    LangText table;
    table.load(path);
    EXPECT_EQ(table.entry(1), QStringLiteral("RUN"));
    EXPECT_EQ(table.entry(121), QStringLiteral("STOP"));

    QString error;
    EXPECT_FALSE(LanguageFile::saveEntry(path, 360, QStringLiteral("X"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(LanguageFile::saveEntry(path, -1, QStringLiteral("X")));
}

TEST(ToSimplified, ConvertsTraditionalCharactersAndLeavesTheRestAlone) {
    EXPECT_EQ(ToSimplified(QStringLiteral("桶號 加水量")), QStringLiteral("桶号 加水量"));
    EXPECT_EQ(ToSimplified(QStringLiteral("<1> 歸零數據")), QStringLiteral("<1> 归零数据"));
    EXPECT_EQ(ToSimplified(QStringLiteral("RUN  ##02")), QStringLiteral("RUN  ##02"));
    EXPECT_EQ(ToSimplified(QStringLiteral("单号")), QStringLiteral("单号"));
    EXPECT_EQ(ToSimplified(QString()), QString());
}
