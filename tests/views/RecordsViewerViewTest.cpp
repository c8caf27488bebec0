// The records viewer window: its column headers stay over the columns when
// the long record lines are scrolled sideways, and the line under the search
// says what the list shows.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/GuiApp.h"
#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"
#include "files/records/DailyRecord.h"
#include "files/settings/MachineSettings.h"
#include "model/Form4.h"
#include "screens/records/RecordsViewer.h"
#include "views/RecordsViewerView.h"

namespace dye::test {
namespace {

TEST(RecordsViewerView, HeadersScrollWithTheLinesAndAnEmptySearchIsSaid) {
    ensureGuiApp();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("data")));
    DailyRecord r;
    r.OrderNo = QStringLiteral("AB-7");
    r.setFinishTime(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("data/DATE_202612.txt")), r.toBytes()));

    Scheduler scheduler;
    HeadlessDialogs dialogs(scheduler);
    MachineSettings settings;
    settings.setText1(9, QStringLiteral("1"));
    Form4 form;
    RecordsViewer viewer(form, settings, QDir(dir.path()), dialogs);
    RecordsViewerView view(form, viewer);
    view.resize(500, 400);
    view.open();
    view.show();
    auto* files = view.findChild<QListWidget*>(QStringLiteral("List2"));
    ASSERT_EQ(files->count(), 1);
    files->item(0)->setSelected(true);
    QApplication::processEvents();  // the list lays its lines out

    auto* header = view.findChild<QLabel*>(QStringLiteral("Label2"));
    auto* lines = view.findChild<QListWidget*>(QStringLiteral("List1"));
    ASSERT_EQ(lines->count(), 1);
    EXPECT_TRUE(header->text().startsWith(QStringLiteral("Order No.")));
    EXPECT_EQ(header->font(), lines->font());
    QScrollBar* sideways = lines->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    sideways->setValue(sideways->maximum() / 2);
    EXPECT_EQ(view.findChild<QScrollArea*>()->horizontalScrollBar()->value(),
              sideways->maximum() / 2);

    auto* search = view.findChild<QLineEdit*>(QStringLiteral("Text1"));
    search->setText(QStringLiteral("##8"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(lines->count(), 0);
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
              QStringLiteral("No record matches \"##8\""));
    search->setText(QStringLiteral("ab-7"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(lines->count(), 1);
}

}  // namespace
}  // namespace dye::test
