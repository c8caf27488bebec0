// The identifier entry screen brought up by the main screen's status timer
// while AUTO IN is ticked, and a scan typed into it.
#include "run/RunFixture.h"
#include "screens/plant/IdentifierEntry.h"

namespace dye::test {
namespace {

class AutoIn : public RunFixture {
  protected:
    void statusTick() { station->scheduler.advance(3000); }
    Form6& form6() { return state().form6; }
};

TEST_F(AutoIn, EveryStatusTickBringsTheEntryUpAndAScanIsQueued) {
    startRun({{16, "ORIGINAL"}});
    state().timers.jobStart->setEnabled(false);  // the job stays queued
    for (const char* order : {"ORD-2026-00001A", "ORD-2026-00001B"})
        ASSERT_TRUE(
            recipeStoreFile(QDir(dir.path())).append(job(order, "1", "", {{0, {"RED", "10"}}})));

    statusTick();
    EXPECT_FALSE(form6().Visible);  // AUTO IN not ticked

    form3().Check2.Value = 1;
    statusTick();
    EXPECT_TRUE(form6().Visible);
    EXPECT_TRUE(form6().focusText1);
    form6().Visible = false;  // the operator closes it: the next tick brings it back
    form6().focusText1 = false;
    statusTick();
    EXPECT_TRUE(form6().Visible);
    EXPECT_TRUE(form6().focusText1);

    station->headlessDialogs()->scriptInput({"B"});
    form6().Text1 = " ORD-2026-00001 ";
    station->identifierEntry().identifierKey(13);
    ASSERT_EQ(queued(), 1);
    EXPECT_EQ(jobQueueFile(QDir(dir.path())).read(1)->OrderNo, "ORD-2026-00001B");
    EXPECT_EQ(form6().Text1, "");
    EXPECT_TRUE(state().timers.status->enabled());  // the status timer goes on after the prompt

    form3().Check2.Value = 0;
    form6().Visible = false;
    statusTick();
    EXPECT_FALSE(form6().Visible);
}

}  // namespace
}  // namespace dye::test
