// Run and stop by machine type, the F1 key and the intake poll counter.
#include "run/RunFixture.h"

namespace dye::test {
namespace {

class RunControlTest : public RunFixture {};

TEST_F(RunControlTest, RunTimerTablesByMachineType) {
    struct Case {
        const char* type;
        bool command9Timer2, command9Timer3;  // after a stop, Command9
        bool runTimer2, runTimer3;            // then RUN
    };
    for (const Case& c : {Case{"1", true, false, true, false}, Case{"2", false, true, false, true},
                          Case{"3", false, false, true, false}, Case{"4", false, false, true, false},
                          Case{"5", false, false, false, true}}) {
        SCOPED_TRACE(c.type);
        startRun({{5, c.type}});
        RunControl& run = station->runControl();
        run.Command8_Click();
        run.Command9_Click();
        EXPECT_TRUE(form3().Timer1->enabled());
        EXPECT_EQ(form3().Timer2->enabled(), c.command9Timer2);
        EXPECT_EQ(form3().Timer3->enabled(), c.command9Timer3);
        run.RUN_Click();
        EXPECT_EQ(form3().Timer2->enabled(), c.runTimer2);
        EXPECT_EQ(form3().Timer3->enabled(), c.runTimer3);
        EXPECT_TRUE(form3().TOOL.Enabled);
        EXPECT_EQ(form3().Label10[0].Caption, "");
    }
}

TEST_F(RunControlTest, MenuStopAlsoClearsTheSharedFlags) {
    startRun();
    state().TransferActive = 1;
    state().wash.WashType1 = 1;
    state().TalbertSpecialFlags[3] = 1;
    station->runControl().Command8_Click();
    EXPECT_EQ(state().TransferActive, 1);  // the button leaves these
    station->runControl().STOP_Click();
    EXPECT_EQ(state().TransferActive, 0);
    EXPECT_EQ(state().wash.WashType1, 0);
    EXPECT_EQ(state().TalbertSpecialFlags[3], 0);
    EXPECT_EQ(form3().Check1.BackColor, kStopPink);
    // The job start paints them back once the run is on again.
    station->runControl().RUN_Click();
    station->scheduler.advance(1000);
    EXPECT_EQ(form3().Check1.BackColor, kCheckTan);
}

TEST_F(RunControlTest, F1OpensTheSingleEntryOncePerPress) {
    startRun();
    int shown = 0;
    MainScreenRequests r;
    r.showSingleEntry = [&] { ++shown; };
    station->mainScreen().setRequests(r);
    KeyState& keys = station->keys();
    keys.keyDown(KeyState::VK_F1);
    for (int i = 0; i < 20; ++i) {  // held for 2 s, with the keyboard's repeats
        keys.keyDown(KeyState::VK_F1);
        station->scheduler.advance(100);
    }
    EXPECT_EQ(shown, 1);
    keys.keyUp(KeyState::VK_F1);
    station->scheduler.advance(500);
    EXPECT_EQ(shown, 1);
    // A short press between two polls still counts.
    keys.keyDown(KeyState::VK_F1);
    keys.keyUp(KeyState::VK_F1);
    station->scheduler.advance(100);
    EXPECT_EQ(shown, 2);
}

TEST_F(RunControlTest, IntakePollRunsEveryElevenSeconds) {
    startRun({{16, "MARIGOLD"}});
    QList<qint64> at;
    station->runControl().setIntake([&] { at << station->scheduler.now(); });
    EXPECT_EQ(form3().Label13.Caption, "1");
    station->scheduler.advance(33000);
    EXPECT_EQ(at, QList<qint64>({10000, 21000, 32000}));
    form3().Text4 = QString(5001, 'x');
    station->scheduler.advance(1000);
    EXPECT_TRUE(form3().Text4.isEmpty());
}

}  // namespace
}  // namespace dye::test
