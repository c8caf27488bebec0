#include "StationFixture.h"

#include <QFile>

#include "files/records/EventLog.h"
#include "run/RunBlocked.h"

using namespace dye;
using dye::test::fileBytes;
using dye::test::StationFixture;

class StationLoadTest : public StationFixture {};

TEST_F(StationLoadTest, TimersFollowTheMachineType) {
    start({{1, "60"}, {5, "2"}});
    const Form2& f = state().form2;
    EXPECT_EQ(state().timers.scan->interval(), 60);
    EXPECT_TRUE(state().timers.scan->enabled());
    EXPECT_TRUE(state().timers.metering->enabled());
    EXPECT_FALSE(state().timers.homing->enabled());  // type 2: no timed routine, no wash timer
    EXPECT_FALSE(state().timers.wash->enabled());
    EXPECT_FALSE(state().timers.programEnd->enabled());
    EXPECT_EQ(f.BackColor, kFormGrey);
}

// A controller that is not there at start is a lost link: one alarm, one log
// line, the scan goes on and the port is tried again every two seconds.
TEST_F(StationLoadTest, APortThatCannotBeOpenedIsALostLinkTriedAgain) {
    ASSERT_TRUE(saveSettingsField(QDir(dir.path()), 0, dir.filePath("no-such-tty")));
    for (const auto& [field, text] : {std::pair{1, "50"}, {2, "100"}, {5, "1"}, {7, "2"}})
        ASSERT_TRUE(saveSettingsField(QDir(dir.path()), field, text));
    Station::Options options;
    options.workdir = dir.path();
    options.start = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
    Station st(options, HeadlessDialogs::make);
    st.headlessDialogs()->setAckDelay(-1);
    st.loadSettingsForm();
    EXPECT_TRUE(st.state.timers.scan->enabled());
    EXPECT_FALSE(st.state.link.health.up());
    st.scheduler.advance(5000);
    EXPECT_GT(st.scan().ticks(), 0);
    EXPECT_EQ(st.headlessDialogs()->messages().size(), 1);
    const QByteArray all = fileBytes(eventLogPath(QDir(dir.path()), QDate(2026, 12, 6)));
    EXPECT_TRUE(all.contains("no-such-tty"));
    EXPECT_EQ(all.count("<link> lost"), 1);
}

// A working directory with no language file and a short settings file (the
// fixture writes settings fields 0..11 only): the screens show the shipped
// captions, and the operator and the event log are told once at load.
TEST_F(StationLoadTest, MissingLanguageAndShortSettingsAreSaidOnceAtLoad) {
    loadMainScreen = true;
    start({});
    station->scheduler.advance(5000);
    EXPECT_EQ(state().form3.Command8.Caption, QStringLiteral("停止"));
    QStringList language;
    for (const auto& m : station->headlessDialogs()->messages())
        if (m.title == QStringLiteral("LANGUAGE")) language << m.text;
    ASSERT_EQ(language.size(), 1);
    EXPECT_TRUE(language[0].contains(QStringLiteral("language.txt is missing")));

    const QByteArray all = fileBytes(eventLogPath(QDir(dir.path()), QDate(2026, 12, 6)));
    EXPECT_EQ(all.count("<load> language.txt is missing"), 1);
    EXPECT_EQ(all.count("<load> JUCIsetting.txt holds 12 of its 38 records"), 1);
    EXPECT_EQ(all.count("<load> AA_Name.txt holds 0 of its 96 records"), 1);
    // The longest of them still fits one log record, line end included.
    EXPECT_TRUE(all.contains("the code, rate, name and shortest opening of every valve)\r\n"));
}

// Settings that could not be loaded block the run by their flag, whatever
// the screen's colours and timers say.
TEST_F(StationLoadTest, AFailedSettingsLoadBlocksTheRun) {
    start({{9, QStringLiteral("1")}});
    station->scheduler.advance(3000);
    EXPECT_FALSE(runBlockedReason(state()).contains(QStringLiteral("link is not running")));
    state().settingsLoadFailed = true;
    EXPECT_TRUE(runBlockedReason(state()).contains(QStringLiteral("link is not running")));
}
