#include <gtest/gtest.h>

#include "SimRig.h"

using namespace dye;

namespace {

SimOptions loaded() {
    SimOptions o = SimRig::exact();
    o.initialLoad = {4660.0, 0.0};
    return o;
}

}  // namespace

TEST(Faults, DroppedRepliesStillApplyTheWrite) {
    SimRig rig(loaded());
    rig.sim.faults().dropReplies = 1.0;
    rig.codec.BuildReadRequest("190", "1", "32");
    EXPECT_EQ(rig.exchange(), "");
    EXPECT_EQ(rig.write(989, {10}), "");
    rig.sim.faults().dropReplies = 0.0;
    EXPECT_EQ(rig.read1(190, 32), 0);
    EXPECT_EQ(rig.sim.counters().dropped, 2);
}

TEST(Faults, ShortAndCorruptedRepliesAreDamagedButDecodable) {
    SimRig clean(loaded());
    clean.codec.BuildReadRequest("190", "4", "32");
    const QByteArray whole = clean.exchange();

    SimRig cut(loaded());
    cut.sim.faults().shortReplies = 1.0;
    cut.codec.BuildReadRequest("190", "4", "32");
    for (int i = 0; i < 20; ++i) {
        const QByteArray got = cut.exchange();
        EXPECT_LT(got.size(), whole.size());
        EXPECT_TRUE(whole.startsWith(got));
        const auto values = FrameCodec::DecodeReadReply(got, 4, "32");
        if (got.size() <= 7) {
            EXPECT_FALSE(values[0]);
        } else if (got.size() >= 7 + 8) {
            EXPECT_EQ(values[0], 4660);
        }
    }

    SimRig noisy(loaded());
    noisy.sim.faults().corruptReplies = 1.0;
    noisy.codec.BuildReadRequest("190", "4", "32");
    for (int i = 0; i < 20; ++i) {
        const QByteArray got = noisy.exchange();
        ASSERT_EQ(got.size(), whole.size());
        int differences = 0;
        for (qsizetype k = 0; k < got.size(); ++k) differences += got[k] != whole[k];
        EXPECT_EQ(differences, 1);
    }
}

TEST(Faults, LateRepliesComeAfterTheNextTick) {
    SimRig rig(loaded());
    rig.sim.faults().lateReplies = 1.0;
    rig.sim.faults().lateReplyUs = 100'000;
    rig.codec.BuildReadRequest("190", "1", "32");
    EXPECT_EQ(rig.exchange(60), "");
    rig.scheduler.advance(100);
    EXPECT_EQ(FrameCodec::DecodeReadReply(rig.port.readAll(), 1, "32")[0], 4660);
}

TEST(Faults, ASilentControllerHearsNothingAlsoInASpellOnItsClock) {
    SimRig rig(loaded());
    rig.sim.faults().silent = true;
    EXPECT_EQ(rig.write(989, {10}), "");
    rig.sim.faults().silent = false;
    EXPECT_EQ(rig.read1(190, 32), 4660);
    rig.sim.faults().silentFromMs = 1000;
    rig.sim.faults().silentForMs = 2000;
    rig.wait(1000 - rig.scheduler.now());
    // From the start of the spell a tare is not heard and nothing answers.
    EXPECT_EQ(rig.write(989, {10}), "");
    EXPECT_EQ(rig.read1(190, 32), std::nullopt);
    rig.wait(2900 - rig.scheduler.now());
    EXPECT_EQ(rig.read1(190, 32), std::nullopt);
    rig.wait(100);
    EXPECT_EQ(rig.read1(190, 32), 4660);
    EXPECT_EQ(rig.write(989, {10}).mid(1, 6), "006100");
    EXPECT_EQ(rig.read1(190, 32), 0);

    // Without an end the controller stays silent.
    rig.sim.faults().silentFromMs = rig.scheduler.now() + 500;
    rig.sim.faults().silentForMs = -1;
    rig.wait(500);
    EXPECT_EQ(rig.read1(190, 32), std::nullopt);
    rig.wait(3'600'000);
    EXPECT_EQ(rig.read1(190, 32), std::nullopt);
}
