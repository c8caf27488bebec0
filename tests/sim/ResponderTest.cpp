#include <gtest/gtest.h>

#include "SimRig.h"

using namespace dye;

namespace {

// A whole frame around `body`: STX, body, ETX and its sum.
QByteArray framed(const char* body) {
    return QByteArray(1, '\x02') + body + '\x03' + FrameCodec::sumDigits(body);
}

}  // namespace

TEST(Responder, AnswersReadsFromItsRegistersAtEitherWidth) {
    SimRig rig;
    EXPECT_EQ(rig.write(1000, {0x1234, -13107}), framed("006100"));
    EXPECT_EQ(rig.sim.memory().get(1001), 0xCCCD);

    rig.codec.BuildReadRequest("1000", "2", "16");
    EXPECT_EQ(rig.exchange(), framed("0051003412CDCC"));
    EXPECT_EQ(rig.read(1000, 2), (SimRig::Values{0x1234, -13107}));
    // Two registers, low word first, make one 32-bit value.
    EXPECT_EQ(rig.read1(1000, 32), qint32(0xCCCD1234));
    rig.write(1000, {-5, 70000}, 32);
    EXPECT_EQ(rig.read(1000, 2, 32), (SimRig::Values{-5, 70000}));
    EXPECT_EQ(rig.read(1000, 4), (SimRig::Values{-5, -1, 0x1170, 1}));
    EXPECT_EQ(rig.sim.counters().frames, 7);
}

TEST(Responder, IgnoresWhatIsNotAWellFormedFrame) {
    SimRig rig;
    auto raw = [&](const QByteArray& bytes) {
        rig.port.write(bytes);
        rig.scheduler.advance(100);
        return rig.port.readAll();
    };
    const QByteArray good = framed("00511C0002");
    QByteArray badSum = good;
    badSum[badSum.size() - 1] = badSum.back() == '0' ? '1' : '0';
    EXPECT_EQ(raw(badSum), "");
    EXPECT_EQ(raw(framed("00711C0002")), "");      // unknown command
    EXPECT_EQ(raw(framed("00511C0102")), "");      // odd address
    EXPECT_EQ(raw(framed("0051FFFE04")), "");      // past D29183
    EXPECT_EQ(raw(framed("00611C0002XY00")), "");  // not hex
    EXPECT_EQ(raw(framed("00611C00040100")), "");  // data short of the count
    EXPECT_EQ(rig.sim.counters().badFrames, 6);
    // Noise before a frame, and a frame cut off by a new STX, are skipped.
    const QByteArray answer = raw(QByteArray("zz\x03\x7F") + good.left(5) + good);
    EXPECT_EQ(answer, framed("0051000000"));
    EXPECT_EQ(rig.sim.counters().frames, 1);
}
