#include "app/StationFixture.h"

#include <QFile>

#include "core/Val.h"
#include "files/records/EventLog.h"
#include "link/TimedRoutine.h"
#include "machine/BucketTransport.h"
#include "machine/WashSequence.h"

using namespace dye;
using Clocks = QList<qint64>;

// A station on the simulator with its axes home and teach slot 1 at X 2000
// and Z 1500 (pipe head down, unless a test says otherwise). Every register a
// write frame carries is recorded with the wash clock shown at that moment.
class WashTest : public dye::test::StationFixture {
  protected:
    struct Write {
        qint64 clock;
        int reg, value;
    };
    QList<Write> written;

    void startWash(std::map<int, QString> fields, QString slot1Z = QStringLiteral("1500")) {
        start(fields);
        station->scheduler.advanceUntil([&] { return !homingRunning(state()); }, 60000);
        state().settings.setTeachSlot(1, {QStringLiteral("2000"), slot1Z, {}, QStringLiteral("0")});
        station->scan().setFrameObserver([this](const QByteArray& frame) {
            const auto r = parseRequest(frame);
            if (!r || r->kind != SimRequest::Kind::Write) return;
            for (int j = 0; j < r->registers; ++j)
                written.append({clock(), r->first + j, r->values[size_t(j)]});
        });
    }
    qint64 clock() { return qint64(Val(state().form2.Label8)); }
    Clocks sentAt(int reg, int value) const {
        Clocks out;
        for (const Write& w : written)
            if (w.reg == reg && w.value == value) out << w.clock;
        return out;
    }
    // One wash tick per step: the end's water figure is still shown on return.
    bool runWash() {
        return station->scheduler.advanceUntil([&] { return state().wash.WashPhase == 0; },
                                               2'000'000, 1000);
    }
    bool runUntil(const std::function<bool()>& done) {
        return station->scheduler.advanceUntil(done, 2'000'000);
    }
    HeadlessDialogs& dialogs() { return *station->headlessDialogs(); }
};

TEST_F(WashTest, TypeOneWashRunsOneCycleWithEveryActionAtItsSecond) {
    startWash({{3, "3"}, {4, "10"}, {23, "4"}});  // 3 cycles of 10 s, 4 s extra water
    sim().options().physics.waterRunOnMs = 0;     // the water given is the valve's alone
    state().wash.request(0, 1, 1);
    ASSERT_TRUE(runWash());

    EXPECT_EQ(sentAt(989, 10), Clocks{3});
    EXPECT_FALSE(sentAt(714, 2000).isEmpty());  // the gantry went to slot 1
    EXPECT_FALSE(sentAt(718, 1500).isEmpty());
    // One cycle, with water although it is the first; the gate two seconds
    // shorter than the water (its 1000 of the same second never leaves).
    EXPECT_EQ(sentAt(800, 300), Clocks{8});
    EXPECT_EQ(sentAt(985, 1000), Clocks{8});
    EXPECT_EQ(sentAt(986, 800), Clocks{8});
    EXPECT_TRUE(sentAt(986, 1000).isEmpty());
    EXPECT_TRUE(sentAt(986, 32000).contains(22));
    EXPECT_EQ(sentAt(847, 30000), Clocks{26});
    // Extra water each second from S + 19 to S + 24 while the bucket is light,
    // once more in the weight watch, then no more.
    EXPECT_EQ(sentAt(985, 400), (Clocks{29, 30, 31, 32, 33, 34, 36}));
    EXPECT_TRUE(sentAt(847, 0).contains(237));
    EXPECT_TRUE(sentAt(986, 0).contains(240));
    EXPECT_EQ(clock(), 245);
    EXPECT_NEAR(Val(state().form2.Label7[5]), 5000, 100);  // 10 s at 500 a second
    EXPECT_TRUE(dialogs().messages().isEmpty());

    // The end re-arms the axis-zero routine, which takes the axes home.
    EXPECT_TRUE(state().timers.homing->enabled());
    EXPECT_EQ(state().timers.homing->interval(), 1000);
    station->scheduler.advance(8000);
    EXPECT_FALSE(sentAt(714, 30000).isEmpty());
    EXPECT_TRUE(state().form2.Label7[5].isEmpty());
    EXPECT_FALSE(logTexts().filter("<TYPE1 WASHING and PUSH TO (001) >").isEmpty());
}

TEST_F(WashTest, SlotSettingsApplyAnEmptySlotFallsBackAndOpeningsStayTimed) {
    startWash({{3, "1"}, {4, "10"}});
    state().settings.setWashText(2, "2");       // slot 3: two cycles
    state().settings.setWashText(64 + 2, "6");  // of 6 s
    state().settings.setWashText(3, "5");       // slot 4: no water set
    state().wash.request(3, 1, 0);
    ASSERT_TRUE(runWash());
    // Cycle 1 of a normal wash lets no water in; cycle 2 gives 6 s.
    EXPECT_EQ(sentAt(800, 300), (Clocks{8, 8}));
    EXPECT_EQ(sentAt(985, 600), Clocks{8});
    EXPECT_EQ(clock(), 241);

    written.clear();
    state().wash.request(4, 1, 0);  // the machine settings: one cycle of 10 s
    ASSERT_TRUE(runWash());
    EXPECT_EQ(sentAt(800, 300), Clocks{8});
    EXPECT_EQ(clock(), 245);

    // 400 s is more than a timed opening holds: 29999, not "open until closed".
    written.clear();
    state().settings.setText1(4, "400");
    state().settings.setText1(20, "N");  // no gate
    state().form2.Check2 = true;         // water through valve 1
    state().wash.request(0, 1, 1);
    ASSERT_TRUE(runUntil([&] { return station->washing().WashClock >= 9; }));
    EXPECT_EQ(sentAt(851, 29999), Clocks{8});
    EXPECT_TRUE(sentAt(985, 29999).isEmpty());
    EXPECT_TRUE(sentAt(986, 1000).isEmpty());
    ASSERT_TRUE(runWash());

    // A 0-second wash: no water by time, and a gate time at or below 0 is not
    // sent (wrapped round 16 bits it would hold the gate open).
    written.clear();
    state().settings.setText1(4, "0");
    state().settings.setText1(20, "");
    state().form2.Check2 = false;
    state().wash.request(0, 1, 1);
    ASSERT_TRUE(runWash());
    EXPECT_EQ(clock(), 235);
    for (const Write& w : written) {
        if (w.reg == 985) {
            EXPECT_EQ(w.value, 0);
        }
        if (w.reg == 986) {
            EXPECT_TRUE(w.value == 0 || w.value == 1000 || w.value == 32000) << w.value;
        }
    }
}

TEST_F(WashTest, WeightFillIsSetUpOnceAndCountsTheWaterFromItsStart) {
    startWash({{4, "3000"}});  // above 1000: a weight
    state().wash.request(0, 1, 1);
    ASSERT_TRUE(runUntil([&] { return station->washing().WashClock >= 3009; }));
    EXPECT_EQ(sentAt(985, 32000), Clocks{8});
    EXPECT_EQ(sentAt(986, 29999), Clocks{8});  // the gate, clamped, once
    EXPECT_TRUE(sentAt(985, 0).contains(8));
    EXPECT_EQ(sentAt(800, 300), Clocks{8});
    EXPECT_GT(sim().machine().content(1), 3000);
    EXPECT_LT(sim().machine().content(1), 4200);
    ASSERT_TRUE(runWash());
    EXPECT_GT(Val(state().form2.Label7[5]), 3000);
}

TEST_F(WashTest, WeightFillTimesOutAfter200SecondsAndGoesOnAfterTheMessage) {
    startWash({{4, "3000"}});
    sim().options().physics.waterRate = 0;
    dialogs().setAckDelay(-1);
    state().wash.request(0, 1, 1);
    ASSERT_TRUE(runUntil([&] { return dialogs().pending() > 0; }));
    // The tag line, then what happened in the station's language (Chinese here).
    EXPECT_TRUE(dialogs().messages().back().text.startsWith("washing_time over 200sec\n洗桶進水"));
    EXPECT_EQ(station->washing().WashFillTicks, 201);
    EXPECT_EQ(state().MachineStatus.alarm(), 7);

    // Parked: the water is shut, the clock stands, the scan goes on.
    const qint64 ticks = station->scan().ticks();
    station->scheduler.advance(30000);
    EXPECT_FALSE(sim().machine().outputOn(985));
    EXPECT_EQ(clock(), 8);
    EXPECT_EQ(state().MachineStatus.alarm(), 7);
    EXPECT_EQ(station->scan().ticks(), ticks + 600);
    EXPECT_TRUE(sentAt(800, 300).isEmpty());

    dialogs().acknowledge();
    EXPECT_EQ(state().MachineStatus.alarm(), 0);
    EXPECT_EQ(station->washing().WashClock, 3008);
    ASSERT_TRUE(runWash());
    EXPECT_EQ(sentAt(800, 300).size(), 1);
    EXPECT_EQ(sentAt(985, 32000).size(), 1);
}

TEST_F(WashTest, ABucketStillHeavyIsRinsedAgainAtMostTwice) {
    startWash({{3, "1"}, {4, "10"}});
    sim().options().physics.drainRate = 0;
    state().wash.request(0, 1, 0);
    ASSERT_TRUE(runUntil([&] { return station->washing().WashClock >= 5; }));  // after the tare
    sim().overfillBucket(1, 8000);
    ASSERT_TRUE(runWash());
    EXPECT_EQ(sentAt(847, 30000), (Clocks{26, 26, 26}));
    EXPECT_EQ(sentAt(986, 0).count(240), 3);
    EXPECT_EQ(clock(), 245);
}

TEST_F(WashTest, RobotHandNotDownParksTheWashWhileTheScanGoesOn) {
    startWash({{3, "1"}, {4, "10"}}, QStringLiteral("500"));  // Z above the pipe-down position
    dialogs().setAckDelay(-1);
    state().wash.request(0, 1, 0);
    ASSERT_TRUE(runUntil([&] { return dialogs().pending() > 0; }));
    EXPECT_TRUE(
        dialogs().messages().back().text.startsWith("*** check robot hand not enter ***\n沖洗前"));
    EXPECT_EQ(clock(), 22);

    const qint64 ticks = station->scan().ticks();
    station->scheduler.advance(20000);
    EXPECT_EQ(state().MachineStatus.alarm(), 8);
    EXPECT_EQ(clock(), 22);
    EXPECT_EQ(station->scan().ticks(), ticks + 400);
    EXPECT_TRUE(sentAt(986, 32000).isEmpty());  // the rinse waits for the operator

    dialogs().acknowledge();
    EXPECT_EQ(state().MachineStatus.alarm(), 0);
    ASSERT_TRUE(runWash());
    EXPECT_EQ(sentAt(986, 32000), Clocks{22});
    EXPECT_EQ(sentAt(847, 30000), Clocks{26});
}

// A lost link holds the wash clock. When the controller answers again every
// output is switched off; after the operator's OK the wash switches on again
// what it had on: a timed water opening for what is left of its time (the
// seconds the link was away count as run), the gate and the conveyor motor
// as they were.
TEST_F(WashTest, LostLinkHoldsTheWashAndPutsItsOutputsBackAfterOk) {
    startWash({{3, "1"}, {4, "20"}});  // one cycle, 20 s of water
    sim().options().physics.waterRunOnMs = 0;
    dialogs().setAckDelay(-1);
    state().wash.request(0, 1, 1);  // type 1: water in the first cycle
    const auto loseLinkAt = [&](qint64 clockAt) {
        ASSERT_TRUE(runUntil([&] { return station->washing().WashClock >= clockAt; }));
        sim().faults().silent = true;
        station->scheduler.advance(3000);
        sim().faults().silent = false;
        ASSERT_TRUE(runUntil([&] { return state().link.health.up(); }));
        passes(1);
        const qint64 held = station->washing().WashClock;
        station->scheduler.advance(5000);
        EXPECT_EQ(station->washing().WashClock, held);  // waits for OK
        ASSERT_TRUE(dialogs().acknowledge());
        ASSERT_TRUE(state().linkUsable());
    };

    loseLinkAt(12);  // 4 s into the water
    EXPECT_FALSE(sim().machine().outputOn(985));
    ASSERT_TRUE(runUntil([&] { return station->washing().WashClock >= 31; }));
    EXPECT_NEAR(sim().machine().content(1), 20 * 500, 600);  // 20 s at 500 a second

    loseLinkAt(37);  // the rinse: gate open, conveyor on
    EXPECT_FALSE(sim().machine().outputOn(847));
    EXPECT_FALSE(sim().machine().outputOn(986));
    passes(4);
    EXPECT_TRUE(sim().machine().outputOn(847));
    EXPECT_TRUE(sim().machine().outputOn(986));
    ASSERT_TRUE(runWash());
    passes(1);
    EXPECT_FALSE(sim().machine().outputOn(847));
    EXPECT_EQ(dialogs().pending(), 0);
    EXPECT_EQ(logTexts().filter("<wash> link back").size(), 2);
}

TEST_F(WashTest, ConveyorMachineDrainsAndNeitherMovesNorRearmsTheAxes) {
    startWash({{3, "1"}, {4, "10"}, {5, "4"}});
    state().wash.request(0, 1, 0);
    ASSERT_TRUE(runWash());
    passes(1);
    EXPECT_EQ(sentAt(903, 30000), Clocks{3});
    EXPECT_TRUE(sentAt(903, 0).contains(245));
    EXPECT_EQ(sentAt(989, 10), Clocks{3});
    EXPECT_EQ(state().link.RobotCheckState, 0);
    EXPECT_FALSE(state().timers.homing->enabled());
}

TEST_F(WashTest, GantryMovesXAndYFromTheirPositionsAndZFromHome) {
    startWash({});
    state().settings.setTeachSlot(
        2, {QStringLiteral("1200"), QStringLiteral("900"), {}, QStringLiteral("800")});
    auto at = [&](MachineModel::Axis a) {
        return sim().machine().axis(a).position(sim().machine().now());
    };
    for (int slot : {1, 2}) {
        station->transport().toSlot(slot);
        runUntil([&] { return state().link.RobotCheckState == 0; });
        passes(3);
    }
    EXPECT_EQ(state().link.MoveX, (AxisMove{1200, 1200, -800}));
    EXPECT_EQ(state().link.MoveZ, (AxisMove{900, 900, 900}));
    EXPECT_EQ(at(MachineModel::AxisX), 1200);
    EXPECT_EQ(at(MachineModel::AxisY), 800);
    EXPECT_EQ(at(MachineModel::AxisZ), 900);
    EXPECT_EQ(state().form2.Label5[1], "900");
}
