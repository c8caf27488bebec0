// The status timer's machine side while MIX ON is ticked: the mixers of a
// PELKO machine, the TALBERT special registers and the idle mixing cycle,
// and the main screen's two labels that clear the marks and start the cycle.
#include "files/settings/MixFiles.h"
#include "run/RunFixture.h"

namespace dye::test {
namespace {

class StatusTicks : public RunFixture {
  protected:
    void ticks(int n) {
        for (int k = 0; k < n; ++k) station->statusTimer().tick();
    }
    qint32 d(int n) { return state().link.image.get(n); }
};

TEST_F(StatusTicks, PelkoMixersStayWithinTheValvesAndFollowTheMarks) {
    valve(1, "RED", "40");  // valve 1 has a product
    start({{16, "PELKO"}, {18, "5"}});
    state().form3.Check3.Value = 1;
    ASSERT_TRUE(writeMixMark(QDir(dir.path()).filePath(kMixMarksFileName), 3, 1));
    ticks(9);  // the idle count reaches 10: valve 1's mixer starts
    EXPECT_EQ(station->statusTimer().mixCount(), 10);
    EXPECT_EQ(d(801), 50);
    EXPECT_EQ(d(803), 10000);  // marked for the job
    EXPECT_EQ(d(802), RegisterImage::RegNoValue);
    // Round the whole count: no position beyond the 24 valves is driven.
    for (int k = 0; k < 320; ++k) {
        ticks(1);
        for (int p = 25; p <= 30; ++p) ASSERT_NE(d(800 + p), 50) << p;
    }
    EXPECT_EQ(station->statusTimer().mixerPosition(), 801);
}

TEST_F(StatusTicks, TalbertSpecialsAndTheIdleMixingCycle) {
    start({{16, "TALBERT"}, {17, "x"}, {18, "4"}, {26, "SP1"}, {28, "SP3"}, {36, "1"}});
    state().form3.Check3.Value = 1;
    ticks(100);  // count 101: over 100
    EXPECT_EQ(d(801), 40);
    EXPECT_EQ(d(803), 40);
    EXPECT_EQ(d(802), 0);
    EXPECT_EQ(station->statusTimer().mixCount(), 0);

    station->mainScreen().startIdleMixing();
    station->projectScreens();
    EXPECT_EQ(state().form3.Label20.Caption, "7200");
    ticks(1);
    EXPECT_EQ(d(861), 300);
    ticks(1);
    EXPECT_EQ(d(801), RegisterImage::RegNoValue);
    EXPECT_EQ(d(802), 30);
    EXPECT_EQ(d(862), 300);
    ticks(10);  // positions 3..10, a pause, then everything off and the idle count again
    EXPECT_EQ(d(810), RegisterImage::RegNoValue);
    EXPECT_EQ(d(870), RegisterImage::RegNoValue);
    station->projectScreens();
    EXPECT_EQ(state().form3.Label20.Caption, "0");
}

// With a dye-mix folder, the marks the job start writes for a PELKO job are
// the ones the status timer drives the mixers from; a double-click on
// Label13 clears them there.
TEST_F(StatusTicks, TheMixFolderHoldsTheMarksTheRunWritesAndTheMixersFollow) {
    const QDir work(dir.path());
    ASSERT_TRUE(work.mkdir("mix"));
    QStringList mix(kDyeMixEntryCount);
    mix[3] = "RED";  // entry 4
    ASSERT_TRUE(saveDyeMix(work.filePath("mix/DYE_MIX.txt"), mix));
    valve(1, "RED", "40");
    valve(2, "BLUE", "20");
    startRun({{16, "PELKO"}, {18, "5"}, {37, " mix\\ "}});
    const QString marks = work.filePath("mix/MIX_C.txt");
    QList<qint16> read;
    ASSERT_TRUE(loadMixMarks(marks, read));  // cleared by the load
    EXPECT_EQ(read, QList<qint16>(kDyeMixEntryCount, 0));
    EXPECT_FALSE(work.exists(kMixMarksFileName));  // no second file

    state().timers.status->setEnabled(false);  // the test ticks the status timer itself
    state().form3.Check3.Value = 1;
    queue(job("P-1", "1", "", {{0, {"RED", "30"}}, {1, {"BLUE", "20"}}}));
    ASSERT_TRUE(runUntil([&] { return !order().isEmpty(); }));
    ticks(1);
    EXPECT_EQ(d(804), 10000);
    EXPECT_EQ(d(805), RegisterImage::RegNoValue);

    station->mainScreen().clearMixMarks();
    EXPECT_EQ(form3().Label13.Caption, "0");
    EXPECT_EQ(station->statusTimer().mixCount(), 0);
    ASSERT_TRUE(loadMixMarks(marks, read));
    EXPECT_EQ(read, QList<qint16>(kDyeMixEntryCount, 0));
    ticks(1);
    EXPECT_EQ(d(804), RegisterImage::RegNoValue);
    EXPECT_FALSE(work.exists(kMixMarksFileName));
}

}  // namespace
}  // namespace dye::test
