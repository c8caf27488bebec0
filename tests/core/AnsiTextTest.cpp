#include <gtest/gtest.h>

#include "core/AnsiText.h"

using namespace dye;

namespace {
// "單號" in Big5: B3 E6 B8 B9.
const QByteArray kDanHao("\xB3\xE6\xB8\xB9", 4);
}  // namespace

TEST(AnsiText, EncodesBig5AndDecodesBack) {
    EXPECT_EQ(AnsiCodePage::encode(QStringLiteral("單號")), kDanHao);
    EXPECT_EQ(AnsiCodePage::decode(kDanHao), QStringLiteral("單號"));
    EXPECT_EQ(AnsiCodePage::encode(QStringLiteral("AB1")), QByteArray("AB1"));
}

TEST(AnsiText, FixedFieldPadsCutsAndNeverSplitsACharacter) {
    EXPECT_EQ(toFixedField(QStringLiteral("AB"), 5), QByteArray("AB   "));
    EXPECT_EQ(toFixedField(QStringLiteral("ABCDEFG"), 5), QByteArray("ABCDE"));
    EXPECT_EQ(toFixedField(QStringLiteral("單號"), 4), kDanHao);
    // Three bytes of room for two double-byte characters: the second does not
    // fit whole, so a space takes its place.
    EXPECT_EQ(toFixedField(QStringLiteral("單號"), 3), QByteArray("\xB3\xE6 ", 3));
    EXPECT_EQ(toFixedField(QStringLiteral("A單號"), 4), QByteArray("A\xB3\xE6 ", 4));
    EXPECT_EQ(toFixedField(QString(), 3), QByteArray("   "));
    // A character the code page cannot hold becomes a question mark.
    EXPECT_EQ(toFixedField(QString::fromUtf8("A\xF0\x9F\x98\x80Z"), 4), QByteArray("A?Z "));
}

TEST(AnsiText, ReadingTrimsSpacesAndBlankRecordBytes) {
    EXPECT_EQ(fromFixedField(QByteArray("  AB  ")), QStringLiteral("AB"));
    EXPECT_EQ(fromFixedField(QByteArray(6, '\0')), QString());
    EXPECT_EQ(fromFixedField(kDanHao + "  "), QStringLiteral("單號"));
    // A half character left by another program reads as '?', not garbage.
    EXPECT_EQ(fromFixedField(QByteArray("A\xB3", 2)), QStringLiteral("A?"));
}

TEST(AnsiText, FieldsInsideARecord) {
    QByteArray record(10, 'x');
    putField(record, 2, 4, QStringLiteral("單"));
    EXPECT_EQ(record, QByteArray("xx\xB3\xE6  xxxx", 10));
    EXPECT_EQ(getField(record, 2, 4), QStringLiteral("單"));
    EXPECT_EQ(getField(record, 20, 4), QString());
}

// The converters are kept between calls: a change of the code page must
// still take effect on the next call, ASCII fields included.
TEST(AnsiText, AChangedCodePageTakesEffectAtOnce) {
    const QString mixed = QStringLiteral("A\u55AE 1");  // "A單 1"
    AnsiCodePage::setName("UTF-8");
    EXPECT_EQ(AnsiCodePage::encode(mixed), mixed.toUtf8());
    EXPECT_EQ(AnsiCodePage::decode(QByteArray("\xE5\x96\xAE")), QStringLiteral("\u55AE"));
    AnsiCodePage::setName("UTF-16LE");  // not ASCII-compatible: no copying of ASCII bytes
    EXPECT_EQ(AnsiCodePage::encode(QStringLiteral("AB")), QByteArray("A\0B\0", 4));
    EXPECT_EQ(AnsiCodePage::decode(QByteArray("A\0B\0", 4)), QStringLiteral("AB"));
    AnsiCodePage::setName(AnsiCodePage::kDefault);
    EXPECT_EQ(AnsiCodePage::encode(mixed), QByteArray("A\xB3\xE6 1"));
    EXPECT_EQ(getField(QByteArray("  A1\0 ", 6), 0, 6), QStringLiteral("A1"));
}
