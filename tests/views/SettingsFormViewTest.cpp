// The settings form's window: what is typed stays in the view until Enter,
// and only a saved value reaches the settings the station reads; its manual
// controls reach the machine.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/GuiApp.h"
#include "app/StationFixture.h"
#include "views/StationWindow.h"

using namespace dye;
using dye::test::StationFixture;

class SettingsFormViewTest : public StationFixture {};

// What is typed stays in its box until Enter saves it, and a saved value out
// of its range is marked with its reason.
TEST_F(SettingsFormViewTest, AHalfTypedValueStaysUntilEnterAndOneOutOfRangeIsMarked) {
    test::ensureGuiApp();
    start({{7, "1e9"}});
    state().settings.setText4(0, QStringLiteral("SODA"));
    state().settings.setText4(24, QStringLiteral("10"));
    StationWindow window(state(), state().form2, &station->manual(), nullptr,
                         &station->settingsEditor());
    auto* tolerance = window.findChild<QLineEdit*>("Text1_7");
    auto* code = window.findChild<QLineEdit*>("Text4_0");
    auto* interval = window.findChild<QLineEdit*>("Text1_1");
    auto* rate = window.findChild<QLineEdit*>("Text4_24");  // valve 1's rate
    ASSERT_TRUE(tolerance && code && interval && rate);
    EXPECT_TRUE(tolerance->toolTip().contains("is not 0.01 to 20"));
    EXPECT_EQ(code->toolTip(), "");  // valve 1 has its rate
    EXPECT_EQ(interval->toolTip(), "");
    EXPECT_EQ(rate->text(), "10");

    // Read-only until the code is given.
    QTest::keyClicks(rate, "5");
    EXPECT_EQ(rate->text(), "10");
    state().form2.Editable = true;
    window.render();

    rate->selectAll();
    QTest::keyClicks(rate, "12");
    passes(2);  // the screens are rendered while the machine runs
    window.render();
    EXPECT_EQ(rate->text(), "12");
    EXPECT_EQ(state().settings.valveRate(1), 10);

    QTest::keyClick(rate, Qt::Key_Return);
    EXPECT_EQ(state().settings.valveRate(1), 12);
    // The box follows the settings again; a rate taken away marks the code.
    state().settings.setText4(24, QString());
    state().settings.setText1(7, QStringLiteral("2"));
    window.render();
    EXPECT_EQ(rate->text(), "");
    EXPECT_EQ(code->toolTip(), "valve 1 (SODA) has no rate");
    EXPECT_EQ(tolerance->toolTip(), "");
}

// A valve opened for a chosen time, a manual metering started from its
// target entry, the wash.
TEST_F(SettingsFormViewTest, ManualButtonsAndEntriesReachTheMachine) {
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
