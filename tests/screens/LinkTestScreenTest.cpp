#include <gtest/gtest.h>

#include "link/SerialPort.h"
#include "screens/LinkTestBench.h"

using namespace dye;
using dye::test::LinkTestBench;

TEST(LinkTestScreen, ReadShowsTheRawAnswerAndOneLinePerRegister) {
    LinkTestBench b;
    b.form.Text1[0] = "190";
    b.form.Text1[1] = "2";
    b.form.Text1[4] = "32";
    b.form.readRegisters();
    EXPECT_TRUE(b.form.answerTimer().enabled());
    b.scheduler.advance(100);  // ten ticks: the answer is still waited for
    EXPECT_FALSE(b.form.Text1[6].contains("D190"));
    b.waitForAnswer();
    EXPECT_FALSE(b.form.answerTimer().enabled());
    EXPECT_TRUE(b.form.Text1[6].contains("<STX>0051"));
    EXPECT_TRUE(b.form.Text1[6].contains(QStringLiteral("D190   =   %1\n").arg(b.sim.reg32(190))));
    EXPECT_TRUE(b.form.Text1[6].contains("D192   =   "));
    EXPECT_TRUE(b.form.Text1[6].contains("answer accepted\n"));
}

TEST(LinkTestScreen, WriteShowsOnlyTheRawAnswerAndAMissingValueIsShownAsMissing) {
    LinkTestBench b;
    b.form.Text1[2] = "2000";
    b.form.Text1[3] = "2";
    b.form.Text2[0] = "7";
    b.form.Text2[1] = "-1";
    b.form.writeRegisters();
    b.waitForAnswer();
    EXPECT_EQ(b.sim.reg(2000), 7);
    EXPECT_EQ(b.sim.reg(2001), 0xFFFF);
    EXPECT_TRUE(b.form.Text1[6].contains("<STX>0061"));
    EXPECT_FALSE(b.form.Text1[6].contains("D2000   =   "));
    EXPECT_TRUE(b.form.Text1[6].endsWith("answer accepted\n"));

    b.sim.faults().shortReplies = 1.0;  // every answer cut short
    b.form.Text1[0] = "2000";
    b.form.Text1[1] = "10";
    b.form.Text1[4] = "16";
    b.form.readRegisters();
    b.waitForAnswer();
    EXPECT_TRUE(b.form.Text1[6].contains("D2009   =   (missing)"));
    EXPECT_TRUE(b.form.Text1[6].contains("answer refused: too short: "));
    EXPECT_TRUE(b.form.Text1[6].contains(", expected 50 for 10 values of 16 bits\n"));

    // A changed character is caught by the echo, the ETX, the digits or the sum.
    b.sim.faults().shortReplies = 0.0;
    b.sim.faults().corruptReplies = 1.0;
    for (int k = 0; k < 5; ++k) {
        b.form.Text1[6].clear();
        b.form.readRegisters();
        b.waitForAnswer();
        EXPECT_TRUE(b.form.Text1[6].contains("answer refused: ")) << b.form.Text1[6].toStdString();
    }
}

TEST(LinkTestScreen, APortThatCannotBeOpenedIsReportedInTheLog) {
    Scheduler scheduler;
    Form1 form(scheduler, [] { return std::unique_ptr<Port>(new SerialPort); });
    form.load();
    form.Combo1 = "/nonexistent/tty";
    form.connectPort();
    EXPECT_TRUE(form.Text1[6].contains("cannot open"));
    form.readRegisters();  // nothing is sent, nothing printed, nothing stops
    scheduler.advance(200);
    EXPECT_FALSE(form.answerTimer().enabled());
}
