#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SimRig.h"
#include "sim/MachineModel.h"
#include "sim/RegisterMemory.h"

using namespace dye;

namespace {

// The machine model on its own, commanded as a write frame would and read
// back as a read answer reports it.
struct Machine {
    SimOptions options;
    MachineModel model{options};
    RegisterMemory memory;

    explicit Machine(SimOptions o) : options(std::move(o)) {}

    void command(int d, quint16 value, qint64 atMs) {
        model.advanceTo(atMs);
        memory.set(d, value);
        model.applyWrite(memory, d, 1);
    }
    // Balance 1 or 2 as the controller reports it now, sign included.
    double read(int balance) {
        model.publish(memory);
        const double magnitude = memory.get32(190 + 2 * (balance - 1));
        return memory.get(274 + balance - 1) == 43 ? -magnitude : magnitude;
    }
    // Largest distance from the noise-free reading (rounded to counts, as
    // reported) over many reads at one moment.
    double noise(int balance) {
        const double truth = std::round(model.reading(balance));
        double largest = 0.0;
        for (int i = 0; i < 200; ++i) largest = std::max(largest, std::abs(read(balance) - truth));
        return largest;
    }
    double content(int balance = 1) const { return model.content(balance); }
};

}  // namespace

TEST(Physics, ValveRatesDifferFromTheTableByTheConfiguredAmount) {
    SimOptions o;  // the defaults a station on the simulator gets
    MachineModel model(o);
    double largest = 0.0;
    for (int v = 1; v <= 24; ++v) {
        const double off = std::abs(model.trueRate(v) / o.nominalRates[size_t(v - 1)] - 1.0);
        EXPECT_LE(off, o.physics.rateError) << "valve " << v;
        largest = std::max(largest, off);
    }
    EXPECT_GT(largest, 0.02);  // a few percent: enough for the calibration to matter
}

// The default valves at rate 100 counts per second: opening 40 ms and
// closing 20 ms late with a 20 ms ramp, a timed opening of n hundredths flows
// for n x 10 - 20 ms and loses half the ramp, 30 ms of dead time in all.
TEST(Physics, TimedOpeningsDeliverTheirTimeLessTheDeadTime) {
    SimOptions o;
    o.physics.rateError = 0.0;
    o.physics.valveFallMs = 0;
    o.physics.valveRateNoise = 0.0;
    o.physics.valveDrift = 0.0;
    const struct {
        quint16 pulse;
        double delivered;
    } cases[] = {
        {100, 97.0},  // 1 s: rate x (1 - 0.03)
        {15, 12.0},   // the shortest pulse a valve table usually allows
        {3, 0.25},    // flows 10 ms, half-way up the ramp: a quarter of the 10 ms
        {2, 0.0},     // ends before it starts to flow
    };
    for (const auto& c : cases) {
        Machine m(o);
        m.command(851, c.pulse, 1000);
        m.model.advanceTo(5000);
        EXPECT_NEAR(m.content(), c.delivered, 1e-9) << c.pulse;
    }

    // Water has the same valve: 10 s of the wash water valve (the pipe's
    // run-on aside).
    o.physics.waterRunOnMs = 0;
    o.physics.waterRunOnSpreadMs = 0;
    Machine water(o);
    water.command(985, 1000, 0);
    water.model.advanceTo(20000);
    EXPECT_NEAR(water.content(), 500.0 * 9.97, 1e-9);

    // The pipe after the water valve runs on when it closes; product valves do not.
    o.physics.waterRunOnMs = 4000;
    Machine runOn(o);
    runOn.command(985, 1000, 0);
    runOn.command(851, 1000, 0);
    runOn.model.advanceTo(20000);
    EXPECT_NEAR(runOn.content(), 500.0 * (9.97 + 4.0) + 100.0 * 9.97, 1e-6);
}

TEST(Physics, BalanceIsNoisyWhileFlowRunsAndSettlesAfter) {
    SimOptions o = SimRig::exact();
    o.physics.noiseCounts = 4.0;
    o.physics.settleMs = 500;
    Machine m(o);
    EXPECT_EQ(m.noise(1), 0.0);  // at rest before anything pours
    m.command(851, 200, 0);      // 2 s
    m.model.advanceTo(1000);
    const double running = m.noise(1);
    EXPECT_GT(running, 2.0);
    EXPECT_LE(running, 5.0);     // ± 4 and the rounding
    EXPECT_EQ(m.noise(2), 0.0);  // the other balance is not touched
    m.model.advanceTo(2250);     // flow stopped at 2 s: half-way through the settling
    EXPECT_LE(m.noise(1), 3.0);
    m.model.advanceTo(2500);
    EXPECT_EQ(m.noise(1), 0.0);
    EXPECT_EQ(m.read(1), 200.0);

    // A noisier balance shows its noise at rest too.
    o.physics.restNoiseCounts = 1.0;
    Machine rest(o);
    EXPECT_GT(rest.noise(1), 0.0);
    EXPECT_LE(rest.noise(1), 2.0);
}

// A bucket of 6000 tipped out by the conveyor motor: full rate (3000 per
// second) down to the knee at 3000 over the residual, then a tail that
// halves every 0.69 s down to the residual of 10.
TEST(Physics, DrainEmptiesTheBucketAlongARealCurve) {
    SimOptions o = SimRig::exact();
    o.physics.noiseCounts = 2.0;
    o.physics.drainTailMs = 1000;
    o.physics.drainResidual = 10.0;
    o.initialLoad = {6010.0, 0.0};
    Machine m(o);
    m.command(847, 30000, 0);
    m.model.advanceTo(1000);
    EXPECT_NEAR(m.content(), 3010.0, 1e-6);
    m.model.advanceTo(2000);
    EXPECT_NEAR(m.content(), 10.0 + 3000.0 * std::exp(-1.0), 0.1);
    // The weight watch of the wash waits for less than 5 between two
    // seconds; the curve gets there after the tail has run a while.
    double last = m.content();
    int steadyAt = 0;
    for (int s = 3; s <= 12 && !steadyAt; ++s) {
        m.model.advanceTo(s * 1000);
        EXPECT_LT(m.content(), last);
        if (last - m.content() < 5.0) steadyAt = s;
        last = m.content();
    }
    EXPECT_GE(steadyAt, 7);
    EXPECT_LE(steadyAt, 8);
    m.model.advanceTo(20000);
    EXPECT_NEAR(m.content(), 10.0, 0.01);
    EXPECT_EQ(m.noise(1), 0.0);  // the last drops leave the balance steady

    // Rinse water running into a draining bucket runs off: the content holds
    // where the outflow equals the inflow, and drains away once it stops.
    m.command(985, 1000, 20000);
    m.model.advanceTo(29000);
    EXPECT_NEAR(m.content(), 10.0 + 500.0, 1.0);
    EXPECT_GT(m.noise(1), 0.0);
    m.model.advanceTo(50000);
    EXPECT_NEAR(m.content(), 10.0, 0.01);
}

TEST(Physics, DrainValveOnlyOnTheConveyorMachineAndABlockedOutletKeepsTheBucket) {
    SimOptions o = SimRig::exact();
    o.initialLoad = {4000.0, 0.0};
    for (int type : {1, 4}) {
        o.machineType = type;
        Machine m(o);
        m.command(903, 100, 0);  // the drain valve for 1 s
        m.model.advanceTo(3000);
        EXPECT_EQ(m.content(), type == 4 ? 1000.0 : 4000.0) << "type " << type;
    }
    o.machineType = 1;
    o.faults.drainBlocked = true;
    o.physics.noiseCounts = 2.0;
    Machine blocked(o);
    blocked.command(847, 30000, 0);
    blocked.model.advanceTo(10000);
    EXPECT_EQ(blocked.content(), 4000.0);
    EXPECT_EQ(blocked.noise(1), 0.0);
}

// The options may be changed at any moment: a latency moves the start of a
// flow already commanded, and a valve that sticks stops pouring at once.
TEST(Physics, OptionsChangedMidRunTakeEffectAtOnce) {
    SimOptions o = SimRig::exact();
    o.physics.valveOpenLatencyMs = 40;
    Machine m(o);
    m.command(851, 30000, 0);  // open until closed: flows from 40 ms
    m.model.advanceTo(10);
    EXPECT_EQ(m.content(), 0.0);
    m.options.physics.valveOpenLatencyMs = 0;  // now it has been flowing since 0
    m.model.advanceTo(30);
    EXPECT_NEAR(m.content(), 100.0 * 0.020, 1e-9);

    m.model.advanceTo(1000);
    const double before = m.content();
    m.options.faults.stuckValves[0] = true;
    m.model.advanceTo(2000);
    EXPECT_EQ(m.content(), before);
    m.options.faults.stuckValves[0] = false;
    m.model.advanceTo(3000);
    EXPECT_NEAR(m.content() - before, 100.0, 1e-9);
}

// Every closing of a water pipe runs on for its own time, drawn with the
// seed: one seed gives the same water again, another seed other water. The
// water through valve 1 has its own, shorter pipe.
TEST(Physics, TheWaterRunOnVariesFromClosingToClosingByTheSeed) {
    SimOptions o = SimRig::exact();
    o.physics.waterRunOnMs = 4000;
    o.physics.waterRunOnSpreadMs = 200;
    const auto fills = [](const SimOptions& options) {
        Machine m(options);
        std::vector<double> given;
        for (int k = 0; k < 6; ++k) {
            const double before = m.content();
            m.command(985, 30000, 20000 * k);
            m.command(985, 0, 20000 * k + 10000);
            m.model.advanceTo(20000 * k + 19000);
            given.push_back(m.content() - before);
        }
        return given;
    };
    const std::vector<double> a = fills(o);
    EXPECT_EQ(fills(o), a);
    for (double g : a) EXPECT_TRUE(g >= 500.0 * 14.0 && g <= 500.0 * 14.2) << g;
    EXPECT_GT(*std::max_element(a.begin(), a.end()) - *std::min_element(a.begin(), a.end()), 10);
    o.seed = 2;
    EXPECT_NE(fills(o), a);

    o.waterOnValve1 = true;
    o.physics.valve1WaterRunOnMs = 1000;
    Machine valve1(o);
    valve1.command(851, 1000, 0);
    valve1.model.advanceTo(20000);
    EXPECT_GE(valve1.content(), 500.0 * 11.0);
    EXPECT_LE(valve1.content(), 500.0 * 11.2);
}
