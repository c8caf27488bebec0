#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"
#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"
#include "files/settings/MachineSettings.h"
#include "model/Form10.h"
#include "model/Form14.h"
#include "model/Form15.h"
#include "screens/language/LanguageEditor.h"
#include "screens/tables/CategoryPicker.h"
#include "screens/tables/DyeMixTable.h"
#include "screens/tables/WashTable.h"

using namespace dye;
using dye::test::padded;

namespace {

class SettingsTablesTest : public ::testing::Test {
  protected:
    QTemporaryDir tmp;
    QDir dir{tmp.path()};
    Scheduler scheduler;
    HeadlessDialogs dialogs{scheduler};
    MachineSettings settings;

    QByteArray bytes(const QString& path) const { return dye::test::fileBytes(dir.filePath(path)); }
    void put(const QString& path, const QByteArray& content) const {
        ASSERT_TRUE(dye::test::writeFile(dir.filePath(path), content));
    }
};

// The language editor stores one 200-byte record per Enter, and refuses a
// text the language table could not read back.
class LanguageEditorTest : public SettingsTablesTest {
  protected:
    static constexpr const char* kLanguageFile = "language.txt";
    int saved = 0;
    LanguageEditor editor{dir.filePath(kLanguageFile), dialogs, [this] { ++saved; }};

    // language.txt as another program wrote it: record r is "E<r-1>" padded.
    void SetUp() override {
        put(kLanguageFile, dye::test::numberedRecords(LanguageFile::kRecordCount, "E", ' ', 0));
    }
};

}  // namespace

// Slot s edits records s and s + 64, one record per Enter, and the wash reads
// the value only once it is saved.
TEST_F(SettingsTablesTest, WashTableSavesOneBoxAtEnter) {
    const QByteArray file = dye::test::numberedRecords(128, "");
    put("WASHsetting.txt", file);
    for (int i = 0; i < 128; ++i) settings.setWashText(i, QString::number(i + 1));
    Form10 form;
    WashTable table(form, settings, dialogs, dir);
    table.load();
    EXPECT_EQ(form.Label1[63], "64");
    EXPECT_EQ(form.Text1[4], "5");
    EXPECT_EQ(form.Text1[68], "69");

    form.Text1[68] = " 1500 ";  // slot 5's wash water, being typed
    EXPECT_EQ(settings.washWater(5), 69);
    table.saveField(68);
    EXPECT_EQ(settings.washWater(5), 1500);
    EXPECT_EQ(settings.washCount(5), 5);
    EXPECT_EQ(bytes("WASHsetting.txt"), dye::test::withRecord(file, 69, "1500"));
    EXPECT_EQ(form.Text1[68], "1500");
    EXPECT_EQ(form.ActiveControl, "Text1_69");

    // The last box keeps the focus.
    form.ActiveControl.clear();
    table.saveField(127);
    EXPECT_EQ(form.ActiveControl, "");
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

// The table is the file the run reads, in the folder of settings field 37;
// Enter in any box writes all 30, each cut to its 30 bytes.
TEST_F(SettingsTablesTest, DyeMixTableEditsTheFileTheRunReads) {
    ASSERT_TRUE(dir.mkdir("mix"));
    settings.setText1(37, QStringLiteral(" mix/ "));
    put("mix/DYE_MIX.txt", padded("RED", 30) + padded("BLUE", 30));
    put("DYE_MIX.txt", padded("OTHER", 30));
    Form14 form;
    DyeMixTable table(form, settings, dialogs, dir);
    table.load();
    EXPECT_EQ(form.Label2, QDir::toNativeSeparators(dir.filePath("mix/DYE_MIX.txt")));
    EXPECT_EQ(form.Text1[0], "RED");
    EXPECT_EQ(form.Text1[2], "");
    EXPECT_EQ(form.Label1[29], "30");

    form.Text1[1] = "  GREEN ";
    form.Text1[29] = QString(31, QLatin1Char('x'));
    table.saveField(29);
    QByteArray expected = padded("RED", 30) + padded("GREEN", 30);
    for (int i = 2; i < 29; ++i) expected += padded("", 30);
    expected += QByteArray(30, 'x');
    EXPECT_EQ(bytes("mix/DYE_MIX.txt"), expected);
    EXPECT_EQ(bytes("DYE_MIX.txt"), padded("OTHER", 30));
    EXPECT_EQ(form.Text1[29], QString(30, QLatin1Char('x')));  // shown as stored
    EXPECT_EQ(form.ActiveControl, "");                         // the last box keeps it

    // A folder that does not exist: said, and the boxes keep what was typed.
    settings.setText1(37, QStringLiteral("nowhere/"));
    form.Text1[0] = "KEPT";
    table.saveField(0);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].text.contains("nowhere"));
    EXPECT_EQ(form.Text1[0], "KEPT");
}

TEST_F(SettingsTablesTest, CategoryPickerSetsTheCategoryAndHides) {
    Form15 form;
    form.Visible = true;
    pickCategory(form, 2);
    EXPECT_EQ(form.AuxCategory, 3);
    EXPECT_FALSE(form.Visible);
    pickCategory(form, 4);
    EXPECT_EQ(form.AuxCategory, 3);
}

TEST_F(LanguageEditorTest, EnterStoresExactlyItsRecordAndTheTableReadsItBack) {
    editor.open();
    EXPECT_EQ(editor.form().Text1[121], "E121");
    EXPECT_EQ(editor.form().Label1[119], "119");
    const QByteArray before = bytes(kLanguageFile);

    // "停止" in Big5, trimmed, into record 122.
    ASSERT_TRUE(editor.saveText(121, QStringLiteral("  停止 ")));
    EXPECT_EQ(bytes(kLanguageFile), dye::test::withRecord(before, 122, "\xB0\xB1\xA4\xEE"));
    EXPECT_EQ(saved, 1);

    // The longest text kept is 197 bytes: the table still finds its end.
    const QString longest(LanguageEditor::kLongestText, QLatin1Char('x'));
    ASSERT_TRUE(editor.saveText(358, longest));
    LangText table;
    table.load(dir.filePath(kLanguageFile));
    EXPECT_EQ(table.entry(358), longest);
    EXPECT_EQ(table.entry(359), "E359");  // record 360 has no box and stays
}

TEST_F(LanguageEditorTest, ATextTheTableCouldNotReadIsRefusedAndNothingChanges) {
    editor.open();
    const QByteArray before = bytes(kLanguageFile);
    // 198 bytes: no run of three blanks would be left; the caption would vanish.
    EXPECT_FALSE(editor.saveText(5, QString(LanguageEditor::kLongestText + 1, QLatin1Char('y'))));
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_TRUE(dialogs.messages().last().text.contains(QStringLiteral("197")));
    // 99 Chinese characters are 198 bytes in Big5.
    EXPECT_FALSE(editor.saveText(5, QString(99, QChar(0x505C))));
    // A character the code page lacks would be stored as '?'.
    EXPECT_FALSE(editor.saveText(5, QStringLiteral("运行")));
    EXPECT_EQ(bytes(kLanguageFile), before);
    EXPECT_EQ(editor.form().Text1[5], "E5");
    EXPECT_EQ(saved, 0);
}
