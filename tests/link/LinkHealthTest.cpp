// The link to the controller as the operator lives it: a controller that
// goes silent in the middle of a metering, and a serial device that
// disappears and comes back at the same path.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include "app/StationFixture.h"
#include "link/TimedRoutine.h"
#include "machine/StationMetering.h"
#include "run/RunBlocked.h"

using namespace dye;
using dye::test::StationFixture;

namespace {

constexpr qint64 kMinute = 60'000;

}  // namespace

class LinkHealthTest : public StationFixture {
  protected:
    void SetUp() override {
        valve(3, "V3", "50");
        startHomed({{2, "90"}, {7, "5"}, {19, "100"}});
    }
    int logCount(const QString& prefix) const {
        int n = 0;
        for (const QString& t : logTexts()) n += t.startsWith(prefix) ? 1 : 0;
        return n;
    }
};

TEST_F(LinkHealthTest,
       SilentControllerMidMeteringHoldsTheStationUntilItAnswersAndTheOperatorSaysOk) {
    startMetering(state(), 1, 3, "2000");
    ASSERT_TRUE(station->scheduler.advanceUntil([&] { return st(1).StationStep == 5; }, kMinute))
        << st(1).StationStep << " " << messages().join("|").toStdString();
    // The long opening pours.
    ASSERT_TRUE(
        station->scheduler.advanceUntil([&] { return sim().machine().outputOn(853); }, 2000));

    sim().faults().silent = true;
    station->scheduler.advance(10'000);
    // One alarm and one log line for the whole silence, however many frames went unanswered.
    EXPECT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().value(0).contains("LINK LOST")) << messages().value(0).toStdString();
    EXPECT_EQ(logCount("<link> lost"), 1);
    EXPECT_FALSE(state().balance(1).fresh);
    EXPECT_EQ(st(1).StationStep, 5);  // held, not ended on a frozen weight
    EXPECT_FALSE(runBlockedReason(state()).isEmpty());

    sim().faults().silent = false;
    // The controller kept the valve open meanwhile: the first writes after
    // the return switch it off, before the operator has said anything.
    ASSERT_TRUE(station->scheduler.advanceUntil([&] { return state().link.health.up(); }, 3000));
    passes(1);
    EXPECT_FALSE(sim().machine().outputOn(853));
    EXPECT_EQ(logCount("<link> back"), 1);
    EXPECT_FALSE(state().linkUsable());
    station->scheduler.advance(5000);
    EXPECT_NE(st(1).StationStep, 0);  // still waits for OK
    EXPECT_FALSE(logTexts().contains("<001 to end cal >"));
    EXPECT_FALSE(runBlockedReason(state()).isEmpty());

    ASSERT_TRUE(station->headlessDialogs()->acknowledge());
    EXPECT_TRUE(state().linkUsable());
    EXPECT_TRUE(runBlockedReason(state()).isEmpty());
    EXPECT_TRUE(
        station->scheduler.advanceUntil([&] { return st(1).StationStep == 0; }, 10 * kMinute));
    ASSERT_TRUE(st(1).finalWeight.has_value());
    EXPECT_NEAR(*st(1).finalWeight, 2000, 6);
    EXPECT_NEAR(sim().machine().content(1), 2000, 6);
    EXPECT_EQ(messages().size(), 1);  // no second window for the same failure
}

TEST_F(LinkHealthTest, ReturnAfterTheLossWasAcknowledgedAsksForOkOnceMore) {
    sim().faults().silent = true;
    station->scheduler.advance(3000);
    ASSERT_TRUE(station->headlessDialogs()->acknowledge());
    EXPECT_FALSE(state().linkUsable());  // acknowledged, but the controller is still away
    sim().faults().silent = false;
    ASSERT_TRUE(station->scheduler.advanceUntil([&] { return state().link.health.up(); }, 3000));
    EXPECT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages().value(1).contains("LINK BACK"));
    EXPECT_FALSE(state().linkUsable());
    ASSERT_TRUE(station->headlessDialogs()->acknowledge());
    EXPECT_TRUE(state().linkUsable());
}

namespace {

// dyesim serving a pseudo-terminal at `link`; false when it does not come up.
bool startSimulator(QProcess& sim, const QString& link) {
    sim.start(DYESIM_PATH, QStringList{"--pty", link});
    if (!sim.waitForStarted(5000)) return false;
    QByteArray banner;
    while (!banner.contains('\n') && sim.waitForReadyRead(10000))
        banner += sim.readAllStandardOutput();
    return banner.contains("serving");
}

// The station on a real serial device, driven by the real clock.
struct RealTimeStation {
    Station& station;
    QElapsedTimer clock;
    explicit RealTimeStation(Station& s) : station(s) { clock.start(); }
    // Gives up only so that a station that never gets there fails instead
    // of hanging; how long it takes is not checked.
    bool runUntil(const std::function<bool()>& done) {
        QElapsedTimer bound;
        bound.start();
        const qint64 offset = station.scheduler.now() - clock.elapsed();
        while (!done()) {
            if (bound.elapsed() > 60'000) return false;
            station.scheduler.catchUp(offset + clock.elapsed());
            QThread::msleep(2);
        }
        return true;
    }
};

}  // namespace

// The serial port on a pseudo-terminal: a controller absent at start, then
// killed and started again at the same path, is found each time without a
// restart.
TEST(LinkOnARealPort, APortThatVanishesIsReopenedUntilTheControllerAnswersAgain) {
    dye::test::ensureCoreApp();
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyDYE");
    for (const auto& [field, text] : std::map<int, QString>{{0, link}, {1, "50"}, {5, "1"}})
        ASSERT_TRUE(saveSettingsField(QDir(dir.path()), field, text));
    Station::Options options;
    options.workdir = dir.path();
    Station station(options, HeadlessDialogs::make);
    station.headlessDialogs()->setAckDelay(-1);
    station.loadSettingsForm();
    RealTimeStation rt(station);
    const LinkHealth& health = station.state.link.health;
    EXPECT_TRUE(rt.runUntil([&] { return !health.up(); }));  // nobody there yet

    QProcess sim;
    ASSERT_TRUE(startSimulator(sim, link));
    ASSERT_TRUE(rt.runUntil([&] { return health.up(); }));

    sim.kill();  // the controller disappears with its device
    sim.waitForFinished(5000);
    ASSERT_TRUE(rt.runUntil([&] { return !health.up(); }));
    QProcess again;
    ASSERT_TRUE(startSimulator(again, link));
    ASSERT_TRUE(rt.runUntil([&] { return health.up(); }));
    EXPECT_EQ(health.losses(), 2);

    const QByteArray all =
        dye::test::fileBytes(eventLogPath(QDir(dir.path()), station.clock.now().date()));
    EXPECT_EQ(all.count("<link> lost"), 2);
    EXPECT_EQ(all.count("<link> back"), 2);
    again.terminate();
    again.waitForFinished(5000);
    EXPECT_FALSE(QFileInfo::exists(link));  // the simulator removes its device
}
