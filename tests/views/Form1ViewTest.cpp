#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/GuiApp.h"
#include "screens/LinkTestBench.h"
#include "views/Form1View.h"

using namespace dye;
using dye::test::LinkTestBench;

TEST(LinkTestScreenView, ForwardsClicksAndShowsTheLog) {
    dye::test::ensureGuiApp();
    LinkTestBench b;
    Form1View view(b.form);
    view.findChild<QLineEdit*>("Text1_0")->setText("274");  // the read start
    view.findChild<QLineEdit*>("Text1_1")->setText("1");
    view.findChild<QPushButton*>("Command1")->click();
    b.waitForAnswer();
    view.render();
    EXPECT_TRUE(view.findChild<QPlainTextEdit*>()->toPlainText().contains("D274   =   45"));
}
