#include "StationFixture.h"

#include <QFile>

#include "records/EventLog.h"

using namespace dye;
using dye::test::StationFixture;

class StationLoadTest : public StationFixture {};

TEST_F(StationLoadTest, TimersFollowTheMachineType) {
    start({{1, "60"}, {5, "2"}});
    const Form2& f = state().form2;
    EXPECT_EQ(f.Timer1->interval(), 60);
    EXPECT_TRUE(f.Timer1->enabled());
    EXPECT_TRUE(f.Timer2->enabled());
    EXPECT_FALSE(f.Timer3->enabled());  // type 2: no timed routine, no wash timer
    EXPECT_FALSE(f.Timer4->enabled());
    EXPECT_FALSE(f.Timer5->enabled());
    EXPECT_EQ(f.BackColor, kFormGrey);
}

TEST_F(StationLoadTest, EmptySettingsLeaveTheScanOff) {
    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    Station st(options, HeadlessDialogs::make);
    st.loadSettingsForm();
    st.scheduler.advance(10000);
    EXPECT_EQ(st.scan().ticks(), 0);
    EXPECT_EQ(st.state.form2.BackColor, kFormGrey);
}

TEST_F(StationLoadTest, APortThatCannotBeOpenedPaintsTheFormRedAndIsLogged) {
    ASSERT_TRUE(saveSettingsField(QDir(dir.path()), 0, dir.filePath("no-such-tty")));
    ASSERT_TRUE(saveSettingsField(QDir(dir.path()), 1, "50"));
    Station::Options options;
    options.workdir = dir.path();
    options.start = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
    Station st(options, HeadlessDialogs::make);
    st.loadSettingsForm();
    EXPECT_EQ(st.state.form2.BackColor, kRed);
    EXPECT_FALSE(st.state.form2.Timer1->enabled());
    st.scheduler.advance(5000);  // the station keeps running, without the scan
    EXPECT_EQ(st.scan().ticks(), 0);
    QFile log(eventLogPath(QDir(dir.path()), QDate(2026, 12, 6)));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("no-such-tty"));
}

TEST_F(StationLoadTest, ProgramEndWaitsForAFullPassAfterTheSwitchOff) {
    start({});
    bool quit = false;
    station->setQuitHandler([&] { quit = true; });
    state().image.set(802, 7);
    station->scheduler.advance(3 * interval());
    station->requestProgramEnd();
    const qint64 ticks = station->scan().ticks();
    station->scheduler.advanceUntil([&] { return quit; }, 10000);
    EXPECT_TRUE(quit);
    EXPECT_GE(station->scan().ticks(), ticks + 16);
    EXPECT_GE(station->scheduler.now(), 3 * interval() + 2000);
    EXPECT_TRUE(writes().contains(writeFrame(800, 10, {})));  // outputs off were sent first
}
