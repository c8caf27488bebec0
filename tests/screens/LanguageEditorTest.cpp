// The language editor stores one 200-byte record per Enter, and refuses a
// text the language table could not read back.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"
#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"
#include "screens/language/LanguageEditor.h"

using namespace dye;

namespace {

constexpr int kRecord = LanguageFile::kRecordLength;

class LanguageEditorTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("language.txt"));
    Scheduler scheduler;
    HeadlessDialogs dialogs{scheduler};
    int saved = 0;
    LanguageEditor editor{path, dialogs, [this] { ++saved; }};

    // language.txt as another program wrote it: record r is "E<r-1>" padded.
    void SetUp() override {
        QByteArray records;
        for (int r = 1; r <= LanguageFile::kRecordCount; ++r)
            records += QByteArray("E" + QByteArray::number(r - 1)).leftJustified(kRecord, ' ');
        ASSERT_TRUE(dye::test::writeFile(path, records));
    }
    QByteArray bytes() { return dye::test::fileBytes(path); }
};

}  // namespace

TEST_F(LanguageEditorTest, EnterStoresExactlyItsRecordAndTheTableReadsItBack) {
    editor.open();
    EXPECT_EQ(editor.form().Text1[121], "E121");
    EXPECT_EQ(editor.form().Label1[119], "119");
    const QByteArray before = bytes();

    // "停止" in Big5, trimmed, into record 122.
    ASSERT_TRUE(editor.saveText(121, QStringLiteral("  停止 ")));
    const QByteArray after = bytes();
    ASSERT_EQ(after.size(), before.size());
    const qsizetype at = 121 * kRecord;
    EXPECT_EQ(after.left(at), before.left(at));
    EXPECT_EQ(after.mid(at, kRecord), QByteArray("\xB0\xB1\xA4\xEE").leftJustified(kRecord, ' '));
    EXPECT_EQ(after.mid(at + kRecord), before.mid(at + kRecord));
    EXPECT_EQ(saved, 1);

    // The longest text kept is 197 bytes: the table still finds its end.
    const QString longest(LanguageEditor::kLongestText, QLatin1Char('x'));
    ASSERT_TRUE(editor.saveText(358, longest));
    LangText table;
    table.load(path);
    EXPECT_EQ(table.entry(358), longest);
    EXPECT_EQ(table.entry(359), "E359");  // record 360 has no box and stays
}

TEST_F(LanguageEditorTest, ATextTheTableCouldNotReadIsRefusedAndNothingChanges) {
    editor.open();
    const QByteArray before = bytes();
    // 198 bytes: no run of three blanks would be left; the caption would vanish.
    EXPECT_FALSE(editor.saveText(5, QString(LanguageEditor::kLongestText + 1, QLatin1Char('y'))));
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_TRUE(dialogs.messages().last().text.contains(QStringLiteral("197")));
    // 99 Chinese characters are 198 bytes in Big5.
    EXPECT_FALSE(editor.saveText(5, QString(99, QChar(0x505C))));
    // A character the code page lacks would be stored as '?'.
    EXPECT_FALSE(editor.saveText(5, QStringLiteral("运行")));
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(editor.form().Text1[5], "E5");
    EXPECT_EQ(saved, 0);
}
