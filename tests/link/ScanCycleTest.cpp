#include "app/StationFixture.h"

#include "link/ScanCycle.h"
#include "link/TimedRoutine.h"

using namespace dye;
using dye::test::StationFixture;

namespace {
constexpr qint32 NoValue = RegisterImage::RegNoValue;
}

class ScanCycleTest : public StationFixture {
  protected:
    // A station without the start-up homing, whose writes would be in the way.
    void startQuiet(std::map<int, QString> fields = {}) {
        start(std::move(fields));
        state().timers.homing->setEnabled(false);
    }
};

TEST_F(ScanCycleTest, OnePassOfMachineTypeOneReadsThreeBlocksAndStoresTheAnswers) {
    startQuiet();
    passes(1);
    ASSERT_EQ(sent.size(), 3);
    // The frames' bytes are FrameCodecTest's.
    for (const auto& [k, step, frame] : {std::tuple{0, 1, readFrame(190, 4, 32)},
                                         {1, 3, readFrame(274, 5, 16)},
                                         {2, 5, readFrame(297, 13, 16)}}) {
        EXPECT_EQ(sent[k].frame, frame) << k;
        EXPECT_EQ(sent[k].step, step) << k;
    }
    EXPECT_EQ(station->scan().ScanStep, 0);  // step 16 wraps
    EXPECT_EQ(state().link.image.get(190), sim().reg32(190));
    EXPECT_EQ(state().link.image.get(274), 45);
    EXPECT_EQ(state().form2.Label2[0], QString::number(sim().reg32(190)));
    EXPECT_EQ(state().form2.Label2[1], "45");
    EXPECT_EQ(state().form9.Label3[9], QString::number(sim().reg(297)));
    EXPECT_EQ(state().form2.Label3[9], state().form9.Label3[9]);
    EXPECT_TRUE(state().form3.Label21.startsWith("0 === 0 === "));
    EXPECT_EQ(state().form11.Label3, state().form3.Label21);
}

// A frame carries only the values asked for: a 0 to the other registers of
// a block would switch their outputs off under another writer's feet.
TEST_F(ScanCycleTest, WriteSlotsAreSentOnceAndOnlyTheirOwnRegisters) {
    startQuiet();
    state().link.image.set(851, 5);        // D847 block (step 12): 16 slots for 12 valves
    state().link.image.set(852, 6);        // next to it: the same frame
    state().link.image.set(860, 9);        // after a gap: the next pass
    state().link.image.set(870, NoValue);  // D863 block (step 13)
    passes(1);
    EXPECT_EQ(framesAt(12), QList<QByteArray>{writeFrame(851, 2, {{851, 5}, {852, 6}})});
    EXPECT_EQ(framesAt(13), QList<QByteArray>{writeFrame(870, 1, {})});
    EXPECT_EQ(state().link.image.get(851), 0);
    EXPECT_EQ(state().link.image.get(870), 0);
    EXPECT_EQ(state().link.image.get(860), 9);
    sent.clear();
    passes(1);
    EXPECT_EQ(writes(), QList<QByteArray>{writeFrame(860, 1, {{860, 9}})});
    sent.clear();
    passes(1);
    EXPECT_TRUE(writes().isEmpty());  // a slot holding 0 sends nothing
}

// The top-up water (D985) stays on while lane 2 tares (D993) in the same block.
TEST_F(ScanCycleTest, AnotherWriterInTheBlockLeavesTheWaterOn) {
    startQuiet({{5, "2"}});
    state().link.image.set(985, 30000);
    passes(1);
    EXPECT_TRUE(sim().machine().outputOn(985));
    state().link.image.set(993, 10);
    state().link.image.set(994, 30);
    passes(2);
    EXPECT_TRUE(sim().machine().outputOn(985));
    EXPECT_EQ(writtenTo(985), QList<int>{30000});
    // Both lanes' phase codes in one frame: 0 to the tare command between
    // them commands nothing, and no pending value waits a pass to be
    // overwritten.
    sent.clear();
    for (int r : {990, 991, 992, 994, 995, 996}) state().link.image.set(r, 5);
    passes(1);
    EXPECT_EQ(writes(), QList<QByteArray>{writeFrame(
                            990, 7, {{990, 5}, {991, 5}, {992, 5}, {994, 5}, {995, 5}, {996, 5}})});
}

TEST_F(ScanCycleTest, WriteBlocksFollowASettingChangedBetweenPasses) {
    startQuiet();
    passes(1);
    state().settings.setText1(11, QStringLiteral("10"));  // valves per station
    state().settings.setText1(16, QStringLiteral("PELKO"));
    state().link.image.set(851, 5);
    state().link.image.set(861, 7);
    state().link.image.set(801, 3);
    sent.clear();
    passes(1);
    EXPECT_EQ(framesAt(11), QList<QByteArray>{writeFrame(801, 1, {{801, 3}})});
    EXPECT_EQ(framesAt(12), QList<QByteArray>{writeFrame(851, 1, {{851, 5}})});
    EXPECT_EQ(framesAt(13), QList<QByteArray>{writeFrame(861, 1, {{861, 7}})});
}

TEST_F(ScanCycleTest, LatchedBlockResendsTheLastValuesOfD801ToD809UntilAllAreInvalidated) {
    startQuiet();
    state().link.image.set(802, 7);
    passes(1);
    EXPECT_EQ(framesAt(11), QList<QByteArray>{writeFrame(800, 10, {{802, 7}})});
    sent.clear();
    passes(1);
    EXPECT_TRUE(framesAt(11).isEmpty());
    state().link.image.set(800, 1);
    state().link.image.set(805, NoValue);
    passes(1);
    EXPECT_EQ(framesAt(11), QList<QByteArray>{writeFrame(800, 10, {{800, 1}, {802, 7}})});
    EXPECT_EQ(station->scan().LatchedValues[2], 7);
    EXPECT_EQ(station->scan().LatchedValues[5], 0);

    // InvalidateWriteSlots switches every output off on the next pass.
    sent.clear();
    InvalidateWriteSlots(state());
    for (int r : {800, 819, 840, 842, 847, 876, 901, 919, 985, 992})
        EXPECT_EQ(state().link.image.get(r), NoValue) << r;
    EXPECT_TRUE(state().timers.homing->enabled());
    state().timers.homing->setEnabled(false);
    passes(1);
    EXPECT_EQ(framesAt(11), QList<QByteArray>{writeFrame(800, 10, {})});
    EXPECT_EQ(framesAt(12), QList<QByteArray>{writeFrame(847, 16, {})});
    EXPECT_EQ(framesAt(13), QList<QByteArray>{writeFrame(863, 12, {})});
    EXPECT_EQ(framesAt(14), QList<QByteArray>{writeFrame(985, 12, {})});
    EXPECT_TRUE(framesAt(8).isEmpty());  // axis blocks are left alone
}

// A lane's job-end code changes the ended job's bucket: an invalidation (a
// stop, the homing) keeps it while it waits to be sent, and puts back none
// that has gone out.
TEST_F(ScanCycleTest, AnInvalidationKeepsALanesJobEndCodeThatWaits) {
    startQuiet();
    state().link.laneEndOwed = {true, true};
    putLaneJobEnd(state().link, 1);
    InvalidateWriteSlots(state());
    for (int r : {990, 991, 992}) EXPECT_EQ(state().link.image.get(r), kLaneJobEnd) << r;
    EXPECT_NE(state().link.image.get(994), kLaneJobEnd);
    state().link.laneEndOwed = {false, false};
    putLaneJobEnd(state().link, 1);
    InvalidateWriteSlots(state());
    EXPECT_EQ(state().link.image.get(990), NoValue);
}

TEST_F(ScanCycleTest, MachineTypeFourWritesItsConveyorBlocksAndNeverReadsTheAxes) {
    start({{5, "4"}});
    for (int r : {921, 922, 901, 904, 716}) state().link.image.set(r, 100);
    passes(1);
    for (const auto& [step, r, count] :
         {std::tuple{5, 921, 1}, {7, 922, 1}, {8, 901, 1}, {9, 904, 1}, {10, 716, 4}})
        EXPECT_EQ(framesAt(step), QList<QByteArray>{writeFrame(r, count, {{r, 100}})}) << step;
    for (const Sent& s : sent) EXPECT_NE(s.frame, readFrame(297, 13, 16));
}

TEST_F(ScanCycleTest, MachineTypeFiveBlocksAndTheSecondBalanceShownInTenths) {
    start({{5, "5"}});
    for (int r : {840, 841, 842, 861, 851, 801, 985}) state().link.image.set(r, 3);
    sim().overfillBucket(2, 1000);
    passes(1);
    for (const auto& [step, r] :
         {std::pair{5, 840}, {7, 841}, {10, 842}, {11, 861}, {12, 851}, {13, 801}, {14, 985}})
        EXPECT_EQ(framesAt(step), QList<QByteArray>{writeFrame(r, 1, {{r, 3}})}) << step;
    EXPECT_DOUBLE_EQ(state().form2.Label2[2].toDouble(), sim().reg32(192) / 10.0);
    // Valves 21..24 are station 2's too.
    state().link.image.set(874, 5);
    passes(1);
    EXPECT_EQ(framesAt(11).last(), writeFrame(874, 1, {{874, 5}}));
}

TEST_F(ScanCycleTest, DisplayFactorsSignWordsAndOverload) {
    startQuiet({{34, "0.5"}});
    passes(1);
    const qint32 raw = sim().reg32(190);
    EXPECT_DOUBLE_EQ(state().form2.Label2[0].toDouble(), raw * 0.5);
    EXPECT_EQ(state().form2.Label2[2], QString::number(sim().reg32(192)));  // no factor: raw

    // Zero the balance with a load on it, then take the load off: below zero.
    sim().overfillBucket(1, 1000);
    state().link.image.set(989, 10);
    passes(1);
    sim().overfillBucket(1, -1000);
    passes(2);  // the sign word arrives one pass after the weight
    EXPECT_EQ(state().form2.Label2[1], "43");
    EXPECT_DOUBLE_EQ(state().form2.Label2[0].toDouble(), -(sim().reg32(190) * 0.5));

    const QString before = state().form2.Label2[0];
    sim().overfillBucket(1, 400000);  // overload: the caption stays as it was
    passes(1);
    EXPECT_GE(state().link.image.get(190), 200000);
    EXPECT_EQ(state().form2.Label2[0], before);
}

TEST_F(ScanCycleTest, RobotCheckMovesTheAxesInTurnAndWarnsOfARobotHandNotHome) {
    startQuiet();
    passes(1);  // indicators filled
    state().link.MoveX[2] = 120;
    state().link.MoveY[2] = -40;
    state().link.MoveZ[2] = -300;
    state().link.RobotCheckState = 1;
    sent.clear();
    passes(1);
    EXPECT_EQ(state().link.RobotCheckState, 3);
    passes(1);  // the Z run is written at step 10 of the next pass
    EXPECT_TRUE(framesAt(10).contains(writeFrame(716, 4, {{716, 2}, {717, 1000}, {718, 20000}})));
    station->scheduler.advanceUntil([&] { return state().link.RobotCheckState >= 8; }, 600000);
    EXPECT_TRUE(
        writes().contains(writeFrame(712, 4, {{712, 1}, {713, 3000}, {714, 120}, {715, 1000}})));
    passes(1);
    EXPECT_TRUE(
        writes().contains(writeFrame(708, 4, {{708, 2}, {709, 3000}, {710, 40}, {711, 1000}})));
    // A move back (negative Z) runs on to the robot-hand check at state 13.
    // The pipe head is held at its lower end (a robot hand that did not come
    // out), so the check warns and holds still until the operator's OK.
    station->headlessDialogs()->setAckDelay(-1);
    station->scheduler.advanceUntil([&] { return state().link.RobotCheckState > 10; }, 600000);
    sim().machine().axis(MachineModel::AxisZ).place(5000, station->scheduler.now());
    station->scheduler.advanceUntil(
        [&] { return state().link.RobotCheckState == 0 || state().link.RobotMessageBusy; }, 600000);
    EXPECT_TRUE(
        writes().contains(writeFrame(716, 4, {{716, 2}, {717, 2000}, {718, 300}, {719, 1000}})));
    ASSERT_EQ(station->headlessDialogs()->pending(), 1);
    EXPECT_EQ(station->headlessDialogs()->messages().back().text, "機械手未插好");
    EXPECT_EQ(state().link.RobotCheckState, 13);
    const int ticks = int(station->scan().ticks());
    passes(3);  // the scan goes on while the message waits
    EXPECT_EQ(station->scan().ticks(), ticks + 48);
    EXPECT_EQ(state().link.RobotMessageBusy, 9);
    EXPECT_EQ(state().link.RobotCheckState, 13);
    station->headlessDialogs()->acknowledge();
    EXPECT_EQ(state().link.RobotMessageBusy, 0);
    EXPECT_EQ(state().link.RobotCheckState, 0);
}

TEST_F(ScanCycleTest, TimedRoutineHomesTheAxesThenSendsThePhaseCodes) {
    start({});
    EXPECT_TRUE(homingRunning(state()));  // counts as running from the moment it is armed
    station->scheduler.advance(2000);     // count 2: Z runs home
    EXPECT_EQ(state().link.homingCounter, 2);
    station->scheduler.advance(16 * interval());
    EXPECT_TRUE(writes().contains(writeFrame(716, 4, {{716, 2}, {717, 1000}, {718, 20000}})));
    station->scheduler.advance(5000 - station->scheduler.now() + 16 * interval());
    EXPECT_TRUE(writes().contains(writeFrame(712, 4, {{712, 2}, {713, 1000}, {714, 30000}})));
    station->scheduler.advance(15000 - station->scheduler.now());
    EXPECT_FALSE(state().timers.homing->enabled());
    EXPECT_FALSE(homingRunning(state()));
    EXPECT_EQ(state().link.image.get(990), 4);
    passes(1);
    EXPECT_TRUE(writes().contains(writeFrame(990, 3, {{990, 4}, {991, 1}, {992, 1}})));
}

// A tenth of the answers dropped, cut or corrupted: the scan goes on, and the
// image only ever holds what the controller really sent.
TEST_F(ScanCycleTest, FaultCampaignLeavesOnlyTrueValuesInTheImage) {
    startQuiet();
    sim().faults().dropReplies = 0.034;
    sim().faults().shortReplies = 0.033;
    sim().faults().corruptReplies = 0.033;
    const int reads[] = {190, 192, 274, 275, 276, 277, 278, 297, 301, 304, 307};
    for (int tick = 0; tick < 10000; ++tick) {
        station->scheduler.advance(interval());
        for (int r : reads) {
            const qint32 v = state().link.image.get(r);
            const qint32 truth = (r == 190 || r == 192) ? sim().reg32(r) : sim().reg(r);
            ASSERT_TRUE(v == 0 || v == truth) << "D" << r << " holds " << v << " at tick " << tick;
        }
    }
    const auto& c = sim().counters();
    EXPECT_GT(c.dropped + c.cut + c.corrupted, c.replies / 20);
    sent.clear();
    passes(1);
    EXPECT_EQ(sent.size(), 3);  // still scanning
    EXPECT_EQ(state().link.image.get(274), 45);
}

// Every refused answer says why on its own line of the link log, and the
// link alarm names the refusal that went on too long.
TEST_F(ScanCycleTest, ARefusedAnswerSaysWhyInTheLinkLogAndTheLinkAlarm) {
    linkLog = QDir(dir.path()).filePath("link.log");
    startQuiet();
    passes(2);
    QFile log(linkLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList whole = QString::fromLatin1(log.readAll()).split('\n').filter(" < ");
    EXPECT_EQ(whole.size(), 6);
    EXPECT_TRUE(whole.filter("refused").isEmpty());

    sim().faults().shortReplies = 1.0;  // every answer cut short
    station->scheduler.advance(3000);
    const QStringList cut = QString::fromLatin1(log.readAll()).split('\n').filter(" < ");
    ASSERT_FALSE(cut.isEmpty());
    for (const QString& line : cut)
        EXPECT_TRUE(line.contains("  refused: too short: ")) << line.toStdString();
    EXPECT_FALSE(cut.filter(", expected 42 for 4 values of 32 bits").isEmpty());
    EXPECT_FALSE(cut.filter(", expected 30 for 5 values of 16 bits").isEmpty());

    const QString alarm = lastMessage();
    EXPECT_TRUE(alarm.contains("LINK LOST"));
    EXPECT_TRUE(alarm.contains("answer to the read of D"));
    EXPECT_TRUE(alarm.contains(" refused: too short: ")) << alarm.toStdString();
}
