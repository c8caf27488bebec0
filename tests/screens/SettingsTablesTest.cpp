#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"
#include "files/settings/MachineSettings.h"
#include "model/Form10.h"
#include "model/Form14.h"
#include "model/Form15.h"
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

}  // namespace

// Slot s edits records s and s + 64, one record per Enter, and the wash reads
// the value only once it is saved.
TEST_F(SettingsTablesTest, WashTableSavesOneBoxAtEnter) {
    QByteArray file;
    for (int r = 1; r <= 128; ++r) file += padded(QByteArray::number(r), 200);
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
    file.replace(68 * 200, 200, padded("1500", 200));
    EXPECT_EQ(bytes("WASHsetting.txt"), file);
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
