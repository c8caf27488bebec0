// Both metering stations on the simulated machine, in virtual time: what the
// valves were told over the wire, what ended up in the buckets, and what the
// operator and the event log were told.
#include <QFile>

#include "app/StationFixture.h"
#include "core/Val.h"
#include "files/records/EventLog.h"
#include "link/TimedRoutine.h"

using namespace dye;
using dye::test::StationFixture;

namespace {

constexpr qint64 kMinute = 60'000;
// The tolerance set (5) plus half the balance's display step: a metering the
// balance shows at exactly the tolerance may truly lie that much beyond it.
constexpr double kWithin = 5.5;

}  // namespace

class MeteringTest : public StationFixture {
  protected:
    // A fresh station on a machine of `type` with tolerance 5, coefficient
    // 90 and Second CAL 100, past its start-up axis homing (which switches
    // every output off); alarms wait for acknowledge().
    void machine(int type, std::map<int, QString> fields = {}) {
        station.reset();
        sent.clear();
        QDir(dir.filePath(kLogFolder)).removeRecursively();
        fields.try_emplace(2, QStringLiteral("90"));
        fields.try_emplace(7, QStringLiteral("5"));
        fields.try_emplace(19, QStringLiteral("100"));
        fields[5] = QString::number(type);
        startHomed(fields);
    }
    double content(int balance) { return sim().machine().content(balance); }
    void meter(int n, int v, double target) {
        startMetering(state(), n, v, QString::number(target));
    }

    // Runs until station n is idle, counting the pulses it gives.
    void untilIdle(int n, qint64 limit = 10 * kMinute, int* pulses = nullptr) {
        int prev = st(n).StationStep;
        EXPECT_TRUE(station->scheduler.advanceUntil(
            [&] {
                if (pulses && st(n).StationStep == 7 && prev != 7) ++*pulses;
                return (prev = st(n).StationStep) == 0;
            },
            limit, 100))
            << "station " << n << " still in step " << st(n).StationStep;
    }
    // Runs until station n reaches `step`; returns the machine time it took.
    qint64 untilStep(int n, int step) {
        const qint64 t0 = station->scheduler.now();
        EXPECT_TRUE(station->scheduler.advanceUntil([&] { return st(n).StationStep == step; },
                                                    kMinute, 100));
        return station->scheduler.now() - t0;
    }

    // Non-zero values the wire carried to register d.
    QList<int> sentTo(int d) const {
        QList<int> values = writtenTo(d);
        values.removeAll(0);
        return values;
    }
};

TEST_F(MeteringTest, SmallTargetIsMeteredByPulsesAloneTheFirstOneSecondAfterTheMethodIsChosen) {
    valve(3, "", "50");
    machine(1);
    meter(1, 3, 80);  // up to 2 x rate on station 1 of type 1
    untilStep(1, 6);
    EXPECT_EQ(untilStep(1, 7), 1000);
    untilIdle(1);
    EXPECT_FALSE(sentTo(853).contains(30000));
    EXPECT_NEAR(content(1), 80, kWithin);
    EXPECT_NEAR(Val(state().form2.Label7[4]), content(1), 0.5);  // the final weight
    const QStringList log = logTexts();
    EXPECT_TRUE(log.contains("<001 to MIN CAL >"));
    EXPECT_EQ(log.last(), "<001 to end cal >");
}

TEST_F(MeteringTest, LargeTargetOpensLongStopsFiveSecondsShortAndFinishesWithPulses) {
    valve(3, "", "50");
    machine(1);
    meter(1, 3, 1500);
    untilStep(1, 6);
    EXPECT_EQ(sentTo(853), QList<int>{30000});
    // First pulse 8 s after the valve was ended, with nothing measured yet.
    EXPECT_EQ(untilStep(1, 7), 8000);
    EXPECT_EQ(st(1).cal.correction, 0);
    EXPECT_GT(st(1).cal.remaining, 0);
    EXPECT_LE(st(1).cal.remaining, 5 * 50);
    untilIdle(1);
    EXPECT_NEAR(content(1), 1500, kWithin);
    const QStringList log = logTexts();
    for (const char* line : {"<001 to MAX CAL >", "<001 to open >   <no> 3   30000",
                             "<001>   <no> 3   <stop>", "<001 to end cal >"})
        EXPECT_TRUE(log.contains(line)) << line;
    EXPECT_TRUE(log.filter("<001 to open >   <no> 3   <open>").size() >= 1);
}

// A valve running 15 % slow: with the coefficient at 100 the first pulse
// teaches the correction and the second lands; a fixed coefficient, or a
// correction too far off to trust, approaches in more pulses from below.
TEST_F(MeteringTest, CorrectionLearnedFromOnePulseIsUsedOnlyAtCoefficient100AndWithinItsWindow) {
    struct Case {
        const char* coefficient;
        double trueFactor;
        bool learned;
    };
    for (const Case c :
         {Case{"100", 0.85, true}, Case{"90", 0.85, false}, Case{"100", 0.5, false}}) {
        SCOPED_TRACE(std::string(c.coefficient) + " " + std::to_string(c.trueFactor));
        // The described rule's own correction: nothing learned of the valve,
        // and not even what this metering's own pulses tell.
        QFile::remove(QDir(dir.path()).filePath(QLatin1String(kValveLearnedFileName)));
        valve(3, "", "50");
        machine(1, {{2, c.coefficient}});
        station->learning().setEnabled(false);
        sim().machine().setTrueRate(3, 50 * c.trueFactor);
        sim().options().physics.valveFallMs = 0;  // every pulse as its rate says
        sim().options().physics.valveRateNoise = 0;
        meter(1, 3, 100);
        int pulses = 0;
        untilIdle(1, 10 * kMinute, &pulses);
        EXPECT_NEAR(content(1), 100, kWithin);
        if (c.learned) {
            EXPECT_EQ(pulses, 2);
            EXPECT_NEAR(st(1).cal.correction, 1 / c.trueFactor, 0.08);
        } else {
            EXPECT_GT(pulses, 2);
        }
    }
}

// A valve with nothing learned: its first pulse is the described rule's,
// the next ones are sized by what that pulse brought, so that no remainder
// is left that only a minimum pulse (more than the tolerance) could finish.
TEST_F(MeteringTest, AFreshValvesLaterPulsesAimByWhatItsFirstPulseBrought) {
    for (const auto& [target, trueRate] : {std::pair{52.4, 35.0}, {54.77, 35.0}, {35.94, 39.0}}) {
        QFile::remove(QDir(dir.path()).filePath(QLatin1String(kValveLearnedFileName)));
        valve(3, "", "35");
        machine(1, {{2, "70"}, {7, "2"}});
        sim().machine().setTrueRate(3, trueRate);
        const double before = state().balance(1).weight;
        meter(1, 3, target);
        untilIdle(1);
        EXPECT_NEAR(state().balance(1).weight - before, target, 2) << target;
    }
}

TEST_F(MeteringTest, PulseBelowTheValvesMinimumTimeIsRaisedToIt) {
    for (const auto& [minTime, expected] : {std::pair{"40", 40}, std::pair{"", 15}}) {
        valve(3, "", "50", minTime);
        machine(1, {{7, "1"}});
        meter(1, 3, 4);  // computed 7 hundredths
        untilIdle(1);
        EXPECT_EQ(sentTo(853).first(), expected) << minTime;
        EXPECT_GT(content(1), 4);
    }
}

TEST_F(MeteringTest, StuckValveRaisesNoFlowWhileTheOtherStationMetersOnUndisturbed) {
    valve(2, "", "50");
    valve(14, "", "50");
    machine(2, {{6, "100000"}});
    sim().faults().stuckValves[1] = true;
    meter(1, 2, 2000);
    meter(2, 14, 3000);
    station->scheduler.advanceUntil([&] { return state().MachineStatus.alarm() != 0; }, kMinute,
                                    100);
    EXPECT_EQ(state().MachineStatus.alarm(), 2);
    EXPECT_TRUE(st(1).parked);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("*** <1> STOP TO NOT HAVE (NO.2)***\n"));
    EXPECT_GT(st(2).StationStep, 0);  // station 2 is mid-metering

    untilIdle(2);  // the alarm stays on the screen meanwhile
    EXPECT_NEAR(content(2), 3000, kWithin);
    EXPECT_FALSE(sim().machine().outputOn(864));
    EXPECT_FALSE(sim().machine().outputOn(852));
    EXPECT_EQ(st(1).StationStep, 5);
    EXPECT_EQ(state().MachineStatus.alarm(), 2);

    sim().faults().stuckValves[1] = false;
    station->headlessDialogs()->acknowledge();
    EXPECT_EQ(st(1).StationStep, 3);
    EXPECT_EQ(state().MachineStatus.alarm(), 0);
    untilIdle(1);
    EXPECT_NEAR(content(1), 2000, kWithin);
    EXPECT_EQ(logTexts().count("<001 to MAX CAL >"), 2);
}

// On the long opening the alarm comes after about 25 s; on pulses the watch
// advances once per pulse, so it takes some 250 pulses, but never ends in "done".
TEST_F(MeteringTest, StuckValveAlwaysEndsInTheNoFlowAlarmOfItsStationAndStep) {
    struct Case {
        int station, valve;
        double target;
        int code;
    };
    for (const Case c :
         {Case{1, 2, 2000, 2}, Case{1, 2, 100, 3}, Case{2, 14, 2000, 5}, Case{2, 14, 50, 6}}) {
        SCOPED_TRACE(c.code);
        valve(c.valve, "", "50");
        machine(2, {{6, "100000"}});
        sim().faults().stuckValves[size_t(c.valve - 1)] = true;
        meter(c.station, c.valve, c.target);
        EXPECT_TRUE(station->scheduler.advanceUntil(
            [&] { return state().MachineStatus.alarm() != 0 || st(c.station).StationStep == 0; },
            60 * kMinute, 100));
        EXPECT_EQ(state().MachineStatus.alarm(), c.code);
        EXPECT_NE(st(c.station).StationStep, 0);
        EXPECT_FALSE(logTexts().contains(QString("<00%1 to end cal >").arg(c.station)));
    }
}

TEST_F(MeteringTest, OverWeightAtZeroWaitsForTheOperatorAndRetakesTheZero) {
    valve(3, "", "50");
    machine(1);
    toStep(1);  // the weight is read on the next scan tick
    meter(1, 3, 500);
    sim().overfillBucket(1, 300);
    station->scheduler.advance(kMinute);
    EXPECT_EQ(messages(), QStringList{"<1> ERR OVER (200) WEIGHT"});
    EXPECT_EQ(state().MachineStatus.alarm(), 1);
    EXPECT_EQ(st(1).StationStep, 1);
    EXPECT_TRUE(sentTo(853).isEmpty());

    station->headlessDialogs()->acknowledge();
    EXPECT_EQ(state().MachineStatus.alarm(), 0);
    station->refreshScreens();
    EXPECT_EQ(state().form2.Label7[0], "1100");
    untilIdle(1);
    EXPECT_NEAR(content(1), 800, kWithin);
    EXPECT_NEAR(Val(state().form2.Label7[4]), 500, 5);
}

TEST_F(MeteringTest, BucketWatchOfTheTwinBalanceMachineClosesTheStationAndEndsTheMetering) {
    for (const auto& [n, v] : {std::pair{1, 2}, std::pair{2, 14}}) {
        valve(v, "", "100");
        machine(2, {{6, "2000"}});  // the empty bucket reads 800
        meter(n, v, 3000);
        untilIdle(n);
        EXPECT_EQ(st(n).BucketFull, 1);
        EXPECT_FALSE(sim().machine().outputOn(850 + v));
        EXPECT_GT(content(n), 1200);
        EXPECT_LT(content(n), 1500);
        EXPECT_EQ(state().form2.Label7[n == 1 ? 4 : 10], state().form2.Label7[n == 1 ? 2 : 8]);
        const QString tag = QString("<00%1").arg(n);
        EXPECT_TRUE(logTexts().contains(tag + " to chenage >"));
        EXPECT_EQ(logTexts().last(), tag + " to end cal >");
    }
}

TEST_F(MeteringTest, ValveWithoutRateOrOutsideTheTableIsRefusedAndNothingOpens) {
    valve(5, "", "");
    machine(1);
    meter(1, 5, 100);
    untilIdle(1, 5000);
    meter(1, 30, 100);
    untilIdle(1, 5000);
    // The tag line first, then what to do in the station's language (0: Chinese).
    ASSERT_EQ(messages().size(), 2);
    EXPECT_EQ(messages()[0].section('\n', 0, 0),
              "*** <1> NO RATE FOR (NO.5) IN THE VALVE TABLE: NOT METERED ***");
    EXPECT_TRUE(messages()[0].section('\n', 1).contains(QStringLiteral("閥門表")));
    EXPECT_EQ(messages()[1].section('\n', 0, 0), "*** <1> NO SUCH VALVE (NO.30): NOT METERED ***");
    EXPECT_EQ(state().MachineStatus.alarm(), 0);
    EXPECT_EQ(logTexts().filter("refused"), (QStringList{"<001 refused >   <no> 5   <no rate>",
                                                         "<001 refused >   <no> 30   <no valve>"}));
    for (int d = 851; d <= 874; ++d) EXPECT_TRUE(sentTo(d).isEmpty()) << d;
    EXPECT_EQ(content(1), 0);
}
