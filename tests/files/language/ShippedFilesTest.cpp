#include <gtest/gtest.h>

#include <QFile>

#include "core/AnsiText.h"
#include "core/RecordFile.h"
#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"
#include "files/language/ToSimplified.h"

using namespace dye;

namespace {

QString shipped(const char* name) {
    return QStringLiteral(DYE_BINARY_DIR "/share/") + QString::fromLatin1(name);
}

qint64 sizeOf(const char* name) {
    return QFile(shipped(name)).size();
}

bool isUsed(int k) {
    return k <= 87 && k != 79;
}

}  // namespace

TEST(ShippedLanguageFile, EveryUsedEntryIsWrittenInAllThreeLanguages) {
    ASSERT_EQ(sizeOf("language.txt"), 360 * 200);
    RecordFile file(shipped("language.txt"), LanguageFile::kRecordLength);
    const QList<QByteArray> records = file.readRange(1, 360);
    LangText table;
    table.fill(records);

    for (int k = 0; k < LangText::kPerLanguage; ++k) {
        SCOPED_TRACE(k);
        for (int language = 0; language < LangText::kLanguages; ++language) {
            const std::optional<QString> raw = LanguageFile::textOf(records[120 * language + k]);
            ASSERT_TRUE(raw.has_value());
            EXPECT_EQ(raw->isEmpty(), !isUsed(k)) << "language " << language;
        }
        const QString english = table.text(1, k);
        EXPECT_EQ(english, QString::fromLatin1(english.toLatin1()));
        // The Simplified block is the Traditional one converted; in the file
        // it keeps the Traditional form of characters Big5 lacks.
        EXPECT_EQ(table.text(2, k), ToSimplified(table.text(0, k)));
        EXPECT_EQ(ToSimplified(table.text(2, k)), table.text(2, k));
    }
    EXPECT_EQ(table.text(0, 1), QStringLiteral("停止"));
    EXPECT_EQ(table.text(2, 3), QStringLiteral("单号"));

    // With no file at all the station shows exactly what this file holds.
    LangText fallback;
    fallback.fillShipped();
    for (int i = 0; i < LangText::kEntries; ++i) EXPECT_EQ(fallback.entry(i), table.entry(i)) << i;
}

TEST(ShippedSettings, SimulatedMachineOfTypeOne) {
    ASSERT_EQ(sizeOf("JUCIsetting.txt"), 38 * 200);
    ASSERT_EQ(sizeOf("AA_Name.txt"), 96 * 200);
    RecordFile settings(shipped("JUCIsetting.txt"), 200);
    auto field = [&](int record) { return fromFixedField(settings.read(record)); };
    EXPECT_EQ(field(6), QStringLiteral("1"));
    EXPECT_EQ(field(10), QStringLiteral("0"));
    EXPECT_EQ(field(12), QStringLiteral("12"));
    EXPECT_EQ(field(17), QStringLiteral("ORIGINAL"));

    RecordFile valves(shipped("AA_Name.txt"), 200);
    for (int v = 1; v <= 24; ++v) {
        SCOPED_TRACE(v);
        EXPECT_FALSE(fromFixedField(valves.read(v)).isEmpty());
        EXPECT_GT(fromFixedField(valves.read(24 + v)).toInt(), 0);
        EXPECT_FALSE(fromFixedField(valves.read(48 + v)).isEmpty());
        EXPECT_GT(fromFixedField(valves.read(72 + v)).toInt(), 0);
    }
}

TEST(ShippedRecipes, WholeRecordsWithKnownCodes) {
    const qint64 size = sizeOf("QUICK_A.txt");
    ASSERT_GT(size, 0);
    ASSERT_EQ(size % 940, 0);
    RecordFile valves(shipped("AA_Name.txt"), 200);
    QStringList codes;
    for (int v = 1; v <= 24; ++v) codes.append(fromFixedField(valves.read(v)));

    RecordFile recipes(shipped("QUICK_A.txt"), 940);
    for (const QByteArray& record : recipes.readRange(1, int(size / 940))) {
        EXPECT_EQ(record.right(2), QByteArray("\r\n"));
        EXPECT_EQ(record.mid(388, 550), QByteArray(550, ' '));
        for (int line = 0; line < 10; ++line) {
            const QString code = getField(record, 40 + 20 * line, 20);
            if (!code.isEmpty()) {
                EXPECT_TRUE(codes.contains(code)) << code.toStdString();
            }
        }
    }
}
