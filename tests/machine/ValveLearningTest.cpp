// The valves' learned allowances: how they are learned, kept, set aside
// and reset, and what they change in a metering on the simulated machine.
#include <QFile>

#include <random>

#include "app/StationFixture.h"
#include "link/TimedRoutine.h"
#include "machine/ValveLearning.h"

using namespace dye;
using dye::test::fileBytes;
using dye::test::StationFixture;

namespace {

constexpr qint64 kMinute = 60'000;

// What a pulse of `seconds` of a valve of `rate` and `dead` time brings.
MeteringNotes pulse(double seconds, double rate, double dead) {
    MeteringNotes n;
    n.pulses.push_back({seconds, rate * (seconds - dead)});
    return n;
}

}  // namespace

TEST(ValveLearningRule, ConvergesFollowsADriftAndShrugsOffAnOutlierOrADisturbedMetering) {
    QTemporaryDir dir;
    ValveLearning learning(QDir(dir.path()), {});
    std::mt19937 random(5);
    std::uniform_real_distribution<double> noise(-0.01, 0.01);
    std::uniform_real_distribution<double> length(0.15, 2.0);
    auto meter = [&](double rate, double dead) {
        learning.learn(3, 40, pulse(length(random), rate * (1 + noise(random)), dead));
    };
    for (int i = 0; i < 30; ++i) meter(44, 0.03);
    const ValveAllowance& a = learning.of(3);
    EXPECT_NEAR(a.rate.value, 44, 0.5);
    EXPECT_NEAR(a.dead.value, 0.03, 0.015);

    // One pulse that brought twice its share (a splash, a touched bucket).
    const double before = a.rate.value;
    learning.learn(3, 40, pulse(1.5, 88, 0.03));
    EXPECT_NEAR(a.rate.value, before, 0.02 * before);
    // A metering that met an alarm teaches nothing, however wild.
    MeteringNotes disturbed = pulse(1.5, 10, 0.03);
    disturbed.disturbed = true;
    const double kept = a.rate.value;
    learning.learn(3, 40, disturbed);
    EXPECT_EQ(a.rate.value, kept);

    // The valve slows by 10 %: followed within a couple of dozen meterings.
    for (int i = 0; i < 25; ++i) meter(39.6, 0.03);
    EXPECT_NEAR(a.rate.value, 39.6, 0.6);

    // A long opening ended before it reached full flow teaches no fall; one
    // that ran does.
    MeteringNotes cut;
    cut.stopActual = 2;
    cut.fall = 0;
    learning.learn(3, 40, cut);
    EXPECT_FALSE(a.fall.known());
    MeteringNotes ran = cut;
    ran.stopActual = 400;
    ran.fall = 18;
    learning.learn(3, 40, ran);
    EXPECT_EQ(a.fall.value, 18);

    // A recalibrated table rate starts the valve's learning anew.
    learning.learn(3, 50, pulse(1.0, 50, 0.03));
    EXPECT_EQ(a.rate.count, 1);
    EXPECT_FALSE(learning.pulseModel(3, 40));
    EXPECT_TRUE(learning.pulseModel(3, 50));
}

class ValveLearningTest : public StationFixture {
  protected:
    void machine(int type, std::map<int, QString> fields = {}) {
        station.reset();
        fields.try_emplace(2, QStringLiteral("85"));
        fields.try_emplace(7, QStringLiteral("5"));
        fields.try_emplace(19, QStringLiteral("100"));
        fields[5] = QString::number(type);
        startHomed(fields);
    }
    double content(int b) { return sim().machine().content(b); }
    // Meters `target` on station n with valve v from an empty bucket; returns
    // what the bucket got.
    double meter(int n, int v, double target) {
        sim().machine().addContent(n, -content(n));
        passes(2);
        startMetering(state(), n, v, QString::number(target));
        EXPECT_TRUE(station->scheduler.advanceUntil([&] { return st(n).StationStep == 0; },
                                                    10 * kMinute, 100));
        return content(n);
    }
    QString path(const char* name) { return QDir(dir.path()).filePath(QLatin1String(name)); }
};

// Learned, the station lands near its target instead of near the band's
// edge; what it learned is in its file and a new station reads it back.
TEST_F(ValveLearningTest, LearnedMeteringsLandNearTheTargetAndTheValuesSurviveARestart) {
    valve(4, "", "50");
    machine(1);
    sim().machine().setTrueRate(4, 45);
    double firstErrors = 0, lastErrors = 0;
    for (int i = 0; i < 16; ++i) {
        const double target = 300 + 37 * i;
        const double err = std::abs(meter(1, 4, target) - target);
        EXPECT_LE(err, 5.5) << target;
        (i < 4 ? firstErrors : lastErrors) += i < 4 || i >= 12 ? err : 0;
    }
    EXPECT_LT(lastErrors, 4 * 1.25);  // a quarter of the tolerance on average
    EXPECT_LT(lastErrors, firstErrors);
    const ValveAllowance learned = station->learning().of(4);
    EXPECT_NEAR(learned.rate.value, 45, 2);
    EXPECT_TRUE(learned.fall.known());

    machine(1);  // a new station on the same folder
    const ValveAllowance again = station->learning().of(4);
    EXPECT_EQ(again.rate.value, learned.rate.value);
    EXPECT_EQ(again.fall.value, learned.fall.value);
    EXPECT_EQ(again.dead.count, learned.dead.count);
}

TEST_F(ValveLearningTest, ATornFileIsSetAsideByteForByteAndTheTableRateUsed) {
    valve(4, "", "50");
    machine(1);
    meter(1, 4, 500);
    station.reset();
    const QByteArray torn = fileBytes(path(kValveLearnedFileName)).left(150);  // cut mid-line
    ASSERT_TRUE(QFile::resize(path(kValveLearnedFileName), 150));

    machine(1);
    EXPECT_EQ(fileBytes(path(kValveLearnedRejectedName)), torn);
    EXPECT_TRUE(logTexts().join('\n').contains("VALVE_LEARNED.txt cannot be read"));
    EXPECT_FALSE(station->learning().of(4).rate.known());
    EXPECT_NEAR(meter(1, 4, 500), 500, 5.5);  // the described rule meters on
    EXPECT_TRUE(station->learning().of(4).rate.known());
}

TEST_F(ValveLearningTest, TheSettingsScreenResetsOneValveBehindTheAccessCode) {
    valve(4, "", "50");
    valve(5, "", "30");
    machine(1);
    meter(1, 4, 400);
    meter(1, 5, 300);
    EXPECT_FALSE(station->settingsEditor().resetLearned(4));  // read-only
    EXPECT_TRUE(station->learning().of(4).rate.known());
    station->headlessDialogs()->scriptInput({QStringLiteral("60817")});
    ASSERT_TRUE(station->settingsEditor().unlock());
    EXPECT_TRUE(station->settingsEditor().resetLearned(4));
    EXPECT_FALSE(station->learning().of(4).rate.known());
    EXPECT_TRUE(station->learning().of(5).rate.known());
    machine(1);
    EXPECT_FALSE(station->learning().of(4).rate.known());
    EXPECT_TRUE(station->learning().of(5).rate.known());
}

// A learned rate well below the valve's makes a pulse longer than the usual
// wait before its check: the metering ends only once it has run, and
// records all the bucket got.
TEST_F(ValveLearningTest, ALongPulseHasRunBeforeTheMeteringEndsAndIsRecorded) {
    valve(10, "", "5");
    machine(1);
    SimPhysics& physics = sim().options().physics;
    physics.valveRateNoise = 0;
    physics.valveDrift = 0;
    sim().machine().setTrueRate(10, 5);
    MeteringNotes slow;
    slow.pulses.push_back({1.0, 2.5});
    station->learning().learn(10, 5, slow);
    const double got = meter(1, 10, 22);
    EXPECT_GT(got, 30);  // a pulse of about nine seconds at twice the learned rate
    ASSERT_TRUE(st(1).finalWeight);
    EXPECT_NEAR(*st(1).finalWeight, got, 1.0);
}

// The fine balance of type 5 meters to 0.3, but a remainder within the
// job's tolerance that only a minimum pulse could meter is accepted: no
// line is pushed past the tolerance by a pulse it does not need. Learned,
// its lines land within the tolerance.
TEST_F(ValveLearningTest, TypeFiveFineBalanceAcceptsARemainderWithinTheJobsTolerance) {
    valve(14, "", "40");
    machine(5, {{7, "2"}, {11, "12"}});
    station->learning().setEnabled(false);
    SimPhysics& physics = sim().options().physics;
    physics.valveFallMs = 0;
    physics.valveRateNoise = 0;
    physics.valveDrift = 0;
    sim().machine().setTrueRate(14, 40);
    // 6.5 / 40 x 85 is below the shortest opening: 15 hundredths bring
    // 40 x (0.15 - 0.03) = 4.8, and the remaining 1.7 is left as it is.
    EXPECT_NEAR(meter(2, 14, 6.5), 4.8, 0.01);
    EXPECT_EQ(writtenTo(864).count(15), 1);

    QFile::remove(path(kValveLearnedFileName));
    machine(5, {{7, "2"}, {11, "12"}});
    std::mt19937 random(11);
    // From about one shortest dose of the valve (0.15 s at 40 a second) up.
    std::uniform_real_distribution<double> weight(6, 60);
    for (int i = 0; i < 40; ++i) {
        const double target = std::round(weight(random) * 100) / 100;
        const double got = meter(2, 14, target);
        if (i >= 12) {  // once a dozen are learned
            EXPECT_NEAR(got, target, 2.0) << target;
        }
    }
}

// A pulse leaves room for a finishing pulse longer than the shortest; one
// that cannot leave it and still pour a shortest dose aims at the target,
// so that no remainder is left that only a shortest dose, larger than the
// tolerance, could finish.
TEST(ValveLearningRule, APulseNeverLeavesWhatOnlyTheShortestDoseCouldFinish) {
    const ValveLearning::PulseModel m{35.5, 0.016, 0.037, 0.014};
    const double shortest = m.dose(0.15);  // 4.8, more than twice the tolerance 2
    EXPECT_NEAR(m.dose(learnedPulseSeconds(m, 20, 2, 0.15)), 20 - 1.5 * shortest, 0.01);
    EXPECT_NEAR(m.dose(learnedPulseSeconds(m, 1.5 * shortest, 2, 0.15)), 1.5 * shortest, 0.01);
    EXPECT_NEAR(m.dose(learnedPulseSeconds(m, 9, 2, 0.15)), 9, 0.01);
}
