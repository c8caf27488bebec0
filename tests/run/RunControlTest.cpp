// Run and stop by machine type, the F1 key, the intake poll counter, the
// pictures and the close.
#include <QRegularExpression>
#include <QSet>

#include "run/PictureAnimation.h"
#include "run/RunFixture.h"
#include "screens/main/MainScreen.h"
#include "screens/main/RunControl.h"

namespace dye::test {
namespace {

class RunControlTest : public RunFixture {};

TEST_F(RunControlTest, RunTimerTablesByMachineType) {
    struct Case {
        const char* type;
        bool command9Timer2, command9Timer3;  // after a stop, Command9
        bool runTimer2, runTimer3;            // then RUN
    };
    for (const Case& c :
         {Case{"1", true, false, true, false}, Case{"2", false, true, false, true},
          Case{"3", false, false, true, false}, Case{"4", false, false, true, false},
          Case{"5", false, false, false, true}}) {
        SCOPED_TRACE(c.type);
        startRun({{5, c.type}});
        RunControl& run = station->runControl();
        run.stopJob();
        station->projectScreens();
        EXPECT_EQ(form3().BackColor, kStopPink);
        run.run();
        station->projectScreens();
        EXPECT_EQ(form3().BackColor, kFormGrey);
        EXPECT_TRUE(state().timers.jobStart->enabled());
        EXPECT_EQ(state().timers.oneBalanceRun->enabled(), c.command9Timer2);
        EXPECT_EQ(state().timers.twoBalanceRun->enabled(), c.command9Timer3);
        run.runAll();
        station->projectScreens();
        EXPECT_EQ(state().timers.oneBalanceRun->enabled(), c.runTimer2);
        EXPECT_EQ(state().timers.twoBalanceRun->enabled(), c.runTimer3);
        EXPECT_TRUE(form3().TOOL.Enabled);
        EXPECT_EQ(form3().Label10[0].Caption, "");
    }
}

TEST_F(RunControlTest, MenuStopAlsoClearsTheSharedFlags) {
    startRun();
    state().TransferActive.claim();
    state().wash.WashType1 = 1;
    state().TalbertSpecialFlags[3] = 1;
    station->runControl().stopJob();
    EXPECT_TRUE(state().TransferActive.active());  // the button leaves these
    station->runControl().stopAll();
    EXPECT_FALSE(state().TransferActive.active());
    EXPECT_EQ(state().wash.WashType1, 0);
    EXPECT_EQ(state().TalbertSpecialFlags[3], 0);
    station->projectScreens();
    EXPECT_EQ(form3().Check1.BackColor, kStopPink);
    // The job start paints them back once the run is on again.
    station->runControl().runAll();
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

TEST_F(RunControlTest, OrderListWindowAndPicturesFollowTheRun) {
    // The pictures the build drew.
    const QDir pictures(QStringLiteral(DYE_BINARY_DIR "/share/pic1"));
    QDir(dir.path()).mkdir("pic1");
    for (const QString& f : pictures.entryList(QDir::Files))
        QFile::copy(pictures.filePath(f), QDir(dir.path()).filePath("pic1/" + f));
    valve(1, "SODA", "10");
    startRun();
    queue(job("OL", "1", "0", {{0, {"SODA", "200"}}}));
    queue(job("OL2", "2", "0", {}));
    ASSERT_TRUE(runUntil([&] { return state().station[1].StationStep >= 4; }));
    station->scheduler.advance(1000);
    const Form11& o = state().form11;
    EXPECT_TRUE(o.Loaded);
    EXPECT_EQ(o.List1.items, QStringList({"OL---1", "OL2---2"}));
    ASSERT_EQ(o.List2.items.size(), 1);
    EXPECT_TRUE(o.List2.items[0].startsWith("SODA =  = 200 = "));
    EXPECT_TRUE(o.List2.items[0].endsWith(" = 1 = "));
    CurrentJob renamed = state().job.current();  // the row's name changes
    renamed.rows[0].name = QStringLiteral("soda ash");
    state().job.load(renamed);
    station->scheduler.advance(500);
    EXPECT_TRUE(o.List2.items[0].startsWith("SODA = soda ash = 200 = "));
    EXPECT_EQ(o.Label1[1], "OL");
    // Dispensing: the bucket moved in, the product pours; the place number on it.
    EXPECT_EQ(state().AnimationState[0], 1);
    EXPECT_EQ(state().AnimationState[2], 1);
    EXPECT_EQ(form3().Picture2.number, "1");
    EXPECT_TRUE(form3().Picture1.file.contains("pic1/a0"));

    station->mainScreen().showOrderListInstead();
    EXPECT_TRUE(o.Visible);
    EXPECT_FALSE(form3().Visible);
    station->mainScreen().backFromOrderList();
    EXPECT_FALSE(o.Visible);
    EXPECT_TRUE(form3().Visible);

    // Washing after the last row.
    ASSERT_TRUE(runUntil([&] { return station->transfer().rowStep() == 109; }));
    EXPECT_EQ(state().AnimationState[0], 3);
    EXPECT_EQ(state().AnimationState[2], 2);
}

// Closing, here in the middle of a long opening, switches the outputs off,
// shows the notice and ends after a full pass; the sequences stop with the
// switch-off, so nothing opens a valve again before the program ends.
TEST_F(RunControlTest, ClosingMidMeteringSwitchesOffShowsTheNoticeAndEndsAfterAFullPass) {
    valve(1, "SODA", "10");
    startRun({{21, "7"}});
    queue(job("CL", "1", "0", {{0, {"SODA", "500"}}}));
    ASSERT_TRUE(runUntil([&] { return sim().machine().outputOn(851); }));
    bool quit = false;
    station->setQuitHandler([&] { quit = true; });
    state().link.image.set(802, 7);
    const qint64 closedAt = station->scheduler.now();
    const qint64 ticks = station->scan().ticks();
    station->unload();
    EXPECT_TRUE(state().form13.Visible);
    EXPECT_EQ(state().form13.Label1, "CLOSE NOW...7");
    EXPECT_EQ(state().link.image.get(851), RegisterImage::RegNoValue);
    ASSERT_TRUE(runUntil([&] { return quit; }, 10000));
    EXPECT_GE(station->scheduler.now() - closedAt, 2000);
    EXPECT_GE(station->scan().ticks(), ticks + 16);
    EXPECT_TRUE(writes().contains(writeFrame(800, 10, {})));  // outputs off were sent first
    EXPECT_FALSE(sim().machine().outputOn(851));
    EXPECT_EQ(state().station[1].StationStep, 0);
    EXPECT_EQ(queued(), 1);  // the job was not finished: it stays queued
}

// RUN and STOP are event-log lines; closing with a job on the machine asks
// first, and No keeps the station and its job running.
TEST_F(RunControlTest, RunAndStopAreLoggedAndClosingDuringAJobAsks) {
    valve(1, "SODA", "10");
    startRun();
    station->runControl().runAll();
    queue(job("CL", "1", "0", {{0, {"SODA", "500"}}}));
    ASSERT_TRUE(runUntil([&] { return order() == "CL"; }));
    int unloads = 0;
    MainScreen& screen = station->mainScreen();
    HeadlessDialogs& dialogs = *station->headlessDialogs();
    screen.askToClose([&] { ++unloads; });
    screen.askToClose([&] { ++unloads; });  // the question is already open
    ASSERT_EQ(dialogs.pending(), 1);
    EXPECT_EQ(dialogs.messages().last().choices, (QStringList{"是", "否"}));
    EXPECT_TRUE(dialogs.messages().last().text.contains(QStringLiteral("CL")));
    ASSERT_TRUE(dialogs.answer(-1, 1));
    EXPECT_EQ(unloads, 0);
    ASSERT_TRUE(runUntil([&] { return sim().machine().outputOn(851); }));
    screen.askToClose([&] { ++unloads; });
    ASSERT_TRUE(dialogs.answer(-1, 0));
    EXPECT_EQ(unloads, 1);

    station->runControl().stopJob();
    screen.askToClose([&] { ++unloads; });  // nothing on the machine: no question
    EXPECT_EQ(unloads, 2);
    EXPECT_EQ(dialogs.pending(), 0);
    station->runControl().run();
    station->runControl().stopAll();
    const QStringList texts = logTexts();
    const QStringList runStop = texts.filter(QRegularExpression(QStringLiteral("^< (RUN|STOP) >")));
    EXPECT_EQ(runStop, (QStringList{"< RUN >", "< STOP >  CL  bucket 1", "< RUN >", "< STOP >"}))
        << texts.join('\n').toStdString();
}

// The pictures move while the machine works (transport forward or backward;
// dispensing, washing or filling water) and stand still when it is idle.
// The shipped bitmaps are used, so a missing series shows here as a still.
TEST(PictureAnimation, PicturesMoveWhileTheMachineWorksAndStandStillWhenIdle) {
    const struct {
        qint16 transportMode, bucketMode;
        bool moves;
    } cases[] = {{1, 1, true}, {2, 2, true}, {1, 3, true}, {0, 0, false}, {3, 4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.transportMode << "/" << c.bucketMode);
        StationState state;
        state.AnimationState[0] = c.transportMode;
        state.AnimationState[2] = c.bucketMode;
        PictureAnimation animation(state, QDir(QStringLiteral(DYE_BINARY_DIR "/share")));
        QSet<QString> transport, bucket;
        for (int i = 0; i < 3; ++i) {
            animation.tick();
            ASSERT_TRUE(QFileInfo(state.form3.Picture2.file).isFile());
            ASSERT_TRUE(QFileInfo(state.form3.Picture1.file).isFile());
            transport << state.form3.Picture2.file;
            bucket << state.form3.Picture1.file;
        }
        EXPECT_EQ(transport.size(), c.moves ? 3 : 1);
        EXPECT_EQ(bucket.size(), c.moves ? 3 : 1);
    }
}

}  // namespace
}  // namespace dye::test
