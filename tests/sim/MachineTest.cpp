#include <gtest/gtest.h>

#include "SimRig.h"

using namespace dye;

// Timed openings and the valves' dead time are covered by PhysicsTest; here
// the write frames' own timing: open until the next write, and a block write
// closing the valves it carries 0 to.
TEST(Machine, ValveOpenUntilClosedAndBlockWritesCloseTheRest) {
    SimRig rig;  // valve rates 100 counts per second
    rig.write(852, {30000});
    rig.wait(10000);
    EXPECT_TRUE(rig.sim.machine().valveFlowing(2));
    rig.write(852, {0});
    rig.wait(2000);
    // Open from one write to the next: the 60 ms exchange and 10 s.
    EXPECT_NEAR(rig.content(1), 1006.0, 0.2);
    EXPECT_EQ(rig.read(190, 1, 32)[0], 1006);

    // A block write carries 0 to its other registers: valve 3 closes.
    rig.write(853, {30000});
    rig.write(851, {0, 0, 0});
    rig.wait(1000);
    EXPECT_FALSE(rig.sim.machine().valveFlowing(3));
    // Open from the first frame's arrival to the second's: 64 ms.
    EXPECT_NEAR(rig.content(1), 1006.0 + 6.4, 0.2);
}

TEST(Machine, TareAndSignWords) {
    SimOptions o = SimRig::exact();
    o.physics.bucketTare = 800.0;
    o.initialLoad = {500.0, 0.0};
    SimRig rig(o);
    EXPECT_EQ(rig.read(190, 2, 32), (SimRig::Values{1300, 800}));
    EXPECT_EQ(rig.read(274, 2), (SimRig::Values{45, 45}));

    rig.write(989, {10});
    EXPECT_EQ(rig.read1(190, 32), 0);
    // Emptying the bucket after the tare makes the reading negative: the
    // weight register keeps the magnitude, the sign word says 43.
    rig.write(847, {100});  // conveyor motor for 1 s drains bucket 1
    rig.wait(2000);
    EXPECT_EQ(rig.read1(190, 32), 500);
    EXPECT_EQ(rig.read(274, 2), (SimRig::Values{43, 45}));
    rig.write(993, {10});
    EXPECT_EQ(rig.read1(192, 32), 0);
    EXPECT_EQ(rig.read(194, 2, 32), (SimRig::Values{0, 0}));
}

TEST(Machine, RoutingFollowsTheMachineType) {
    for (int type : {1, 3, 4}) {
        SimRig rig(SimRig::exact(type));
        rig.write(874, {100});
        rig.wait(2000);
        EXPECT_NEAR(rig.content(1), 100.0, 0.2) << "type " << type;
    }
    SimOptions o = SimRig::exact(2);
    o.valvesPerStation = 12;
    SimRig twin(o);
    twin.write(862, {100, 200});  // valves 12 and 13
    twin.write(985, {100});       // water
    twin.wait(3000);
    EXPECT_NEAR(twin.content(1), 100.0 + 500.0, 0.5);
    EXPECT_NEAR(twin.content(2), 200.0, 0.5);

    // Type 5: balance 2 reports ten counts per unit.
    o.machineType = 5;
    SimRig fine(o);
    fine.write(863, {100});
    fine.wait(2000);
    EXPECT_EQ(fine.read1(192, 32), 1000);
}

TEST(Machine, AxesMoveForDistanceOverSpeed) {
    SimRig rig;
    rig.write(716, {1, 1000, 5000, 1000});  // Z down 5000 at 1000 per second
    EXPECT_EQ(rig.read(307, 3), (SimRig::Values{1, 0, 0}));
    EXPECT_EQ(rig.read1(297), 0);
    rig.wait(4800);
    EXPECT_EQ(rig.read1(307), 1);
    rig.wait(200);
    EXPECT_EQ(rig.read(307, 3), (SimRig::Values{0, 0, 0}));
    EXPECT_EQ(rig.read1(297), 1);  // pipe head at its lower end

    // Running home stops at position 0 whatever the distance.
    rig.write(716, {2, 1000, 20000, 0});
    rig.wait(4900);
    EXPECT_EQ(rig.read1(307), 1);
    rig.wait(200);
    EXPECT_EQ(rig.read(307, 3), (SimRig::Values{0, 1, 0}));
    EXPECT_EQ(rig.sim.machine().axis(MachineModel::AxisZ).position(rig.sim.machine().now()), 0.0);

    rig.write(712, {1, 3000, 60000, 1000});  // X to its limit
    rig.write(708, {1, 1000, 500, 1000});
    EXPECT_EQ(rig.read(301, 6), (SimRig::Values{1, 0, 0, 1, 0, 0}));
    rig.wait(20000);
    EXPECT_EQ(rig.read(301, 6), (SimRig::Values{0, 0, 0, 0, 0, 1}));
}

TEST(Machine, LaneReadyButtons) {
    SimRig automatic;
    EXPECT_EQ(automatic.read(276, 2), (SimRig::Values{1, 1}));
    SimOptions o = SimRig::exact(2);
    o.physics.laneReadyAuto = false;
    SimRig manual(o);
    EXPECT_EQ(manual.read(276, 2), (SimRig::Values{0, 0}));
    manual.sim.machine().pressLaneReady(2);
    EXPECT_EQ(manual.read(276, 2), (SimRig::Values{0, 1}));
    manual.write(841, {30000});  // lane 2 go takes the button back
    EXPECT_EQ(manual.read1(277), 0);
}
