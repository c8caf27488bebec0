// The single entry window through its widgets: opened by Command11 with the
// quick-metering code or by F1, filled in and queued.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/GuiApp.h"
#include "app/WindowHandlers.h"
#include "run/RunFixture.h"
#include "views/MainFormView.h"
#include "views/SingleEntryView.h"
#include "views/StationWindows.h"

namespace dye::test {
namespace {

class SingleEntryViewTest : public RunFixture {
  protected:
    std::unique_ptr<StationWindows> windows;

    // A conveyor machine (type 4: the quick metering is offered) with one
    // valve and a place named "B3".
    void open() {
        ensureGuiApp();
        valve(1, QStringLiteral("R-101"), QStringLiteral("20"));
        startRun({{5, "4"}});
        TeachSlot place = state().settings.teachSlot(3);
        place.name = QStringLiteral("B3");
        state().settings.setTeachSlot(3, place);
        windows = std::make_unique<StationWindows>(state(), windowHandlers(*station));
        windows->show();
    }
    SingleEntryView& entry() { return *windows->singleEntry(); }
    template <typename W>
    W* control(const char* name) {
        return entry().findChild<W*>(name);
    }
    void pressF1() {
        QTest::keyPress(&windows->mainForm(), Qt::Key_F1);
        QTest::keyRelease(&windows->mainForm(), Qt::Key_F1);
        station->scheduler.advance(100);
    }
};

TEST_F(SingleEntryViewTest, OpenedByCommand11WithTheCodeOrByF1AndQueuedFromTheWindow) {
    open();
    HeadlessDialogs& dialogs = *station->headlessDialogs();
    const qsizetype messages = dialogs.messages().size();  // the load's, if any
    dialogs.scriptInput({"1234", QString(), "4271"});
    auto* quick = windows->mainForm().findChild<QPushButton*>("Command11");
    ASSERT_TRUE(quick->isEnabled());
    quick->click();  // a wrong code
    quick->click();  // Cancel
    EXPECT_FALSE(entry().isVisible());
    EXPECT_EQ(dialogs.messages().size(), messages);  // a wrong code is ignored silently
    quick->click();
    EXPECT_EQ(dialogs.prompts(), QStringList({"password", "password", "password"}));
    EXPECT_TRUE(entry().isVisible());
    EXPECT_EQ(control<QComboBox>("Combo1")->itemText(0), "R-101");
    EXPECT_EQ(control<QListWidget>("List1")->item(0)->text(), "R-101     ");

    entry().close();
    EXPECT_FALSE(state().form7.Visible);
    pressF1();
    ASSERT_TRUE(entry().isVisible());

    // The list line puts the code alone into the box; a preset is picked,
    // corrected on the keypad; the place is picked; the entry is queued.
    QTest::keyClicks(control<QComboBox>("Combo1")->lineEdit(), "R-10");
    auto* list = control<QListWidget>("List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), "R-101");
    control<QComboBox>("Combo2")->setCurrentIndex(1);  // the preset " 1000"
    control<QPushButton>("Command2_10")->click();
    control<QPushButton>("Command2_5")->click();
    EXPECT_EQ(control<QComboBox>("Combo2")->currentText(), "1005");
    control<QComboBox>("Combo3")->setCurrentIndex(control<QComboBox>("Combo3")->findText("B3"));
    control<QPushButton>("Command1")->click();

    EXPECT_FALSE(entry().isVisible());
    const QList<JobRecord> queue = jobQueueFile(QDir(dir.path())).records();
    ASSERT_EQ(queue.size(), 1);
    EXPECT_EQ(queue[0].OrderNo, "<<<single>>>");
    EXPECT_EQ(queue[0].Code[0], "R-101");
    EXPECT_EQ(queue[0].Weight[0], "1005");
    EXPECT_EQ(queue[0].BucketNo, "B3");
}

}  // namespace
}  // namespace dye::test
