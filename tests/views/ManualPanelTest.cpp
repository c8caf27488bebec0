#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/GuiApp.h"
#include "app/StationFixture.h"
#include "views/StationWindow.h"

using namespace dye;
using dye::test::StationFixture;

class ManualPanelTest : public StationFixture {};

// The settings form's window reaches the manual controls: a valve opened
// for a chosen time, a manual metering started from its target entry, the wash.
TEST_F(ManualPanelTest, ButtonsAndEntriesReachTheMachine) {
    test::ensureGuiApp();
    start({});
    StationWindow window(state(), state().form2, &station->manual());
    window.findChild<QComboBox*>("Combo1")->setCurrentText("3");
    window.findChild<QComboBox*>("Combo2")->setCurrentText("200");
    window.findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(state().link.image.get(853), 200);

    window.findChild<QComboBox*>("Combo8")->setCurrentText("2");
    auto* target = window.findChild<QLineEdit*>("Text5");
    target->setText("150");
    QTest::keyClick(target, Qt::Key_Return);
    EXPECT_EQ(state().station[1].StationStep, 1);
    station->refreshScreens();
    EXPECT_EQ(state().form2.Label7[1], "150");

    window.findChild<QPushButton*>("Command14")->click();
    EXPECT_EQ(state().wash.WashPhase, 1);
}
