#include <gtest/gtest.h>

#include "core/Scheduler.h"
#include "link/LoopPort.h"

using namespace dye;

namespace {

// A peer that notes when each character arrives and answers "ABC" to ETX.
struct RecordingPeer : LoopPeer {
    QByteArray received;
    std::vector<qint64> at;
    qint64 advancedTo = -1;
    qint64 latencyUs = 1000;

    void advanceTo(qint64 us) override {
        EXPECT_GE(us, advancedTo);
        advancedTo = us;
    }
    LoopAnswer receive(char c, qint64 us) override {
        EXPECT_EQ(us, advancedTo);
        received.append(c);
        at.push_back(us);
        if (c == '\x03') return {"ABC", latencyUs};
        return {};
    }
};

// End of character k (from 1) of a burst at 19200 baud, 10 bits each.
qint64 charEnd(qint64 k) {
    return (k * 10 * 1'000'000 + 19199) / 19200;
}

struct LoopPortTest : ::testing::Test {
    Scheduler scheduler;
    RecordingPeer peer;
    LoopPort port{scheduler, peer};
    void SetUp() override { ASSERT_TRUE(port.open("SIM", "19200,E,7,1")); }
};

}  // namespace

TEST_F(LoopPortTest, EachCharacterArrivesAfterItsWireTime) {
    const QByteArray request = "0123456789ABC";  // 13 characters
    port.write(request);
    scheduler.advance(6);
    port.pump();
    EXPECT_EQ(peer.received.size(), 11);  // the 12th ends at 6.25 ms
    scheduler.advance(1);
    port.pump();
    ASSERT_EQ(peer.received, request);
    for (qint64 k = 1; k <= 13; ++k) EXPECT_EQ(peer.at[size_t(k - 1)], charEnd(k));
    EXPECT_EQ(peer.at.back(), 6771);  // 13 × 10 / 19200 s, rounded up to the microsecond
    EXPECT_EQ(peer.advancedTo, 7000);
    EXPECT_EQ(port.wireTimeUs(1920), 1'000'000);
}

TEST_F(LoopPortTest, AnswerBecomesReadableCharacterByCharacter) {
    port.write("\x02\x03");  // ETX ends at 1042 µs; the answer starts 1 ms later
    scheduler.advance(2);
    EXPECT_EQ(port.readAll(), "");
    scheduler.advance(1);  // A at 2042 + 521
    EXPECT_EQ(port.readAll(), "A");
    scheduler.advance(1);  // B at 3084, C at 3605
    EXPECT_EQ(port.readAll(), "BC");
    EXPECT_EQ(port.readAll(), "");
}

TEST_F(LoopPortTest, WritesQueueBackToBackAndArriveWithoutPolling) {
    port.write("xy");
    port.write("z");
    // No port call: the scheduler alone delivers the characters.
    scheduler.advance(5);
    EXPECT_EQ(peer.received, "xyz");
    EXPECT_EQ(peer.at, (std::vector<qint64>{charEnd(1), charEnd(2), charEnd(3)}));

    // After a pause a new burst starts from the moment of writing.
    port.write("w");
    scheduler.advance(5);
    EXPECT_EQ(peer.at.back(), 5000 + charEnd(1));
}

TEST_F(LoopPortTest, ClearInputDropsOnlyWhatHasArrived) {
    peer.latencyUs = 0;
    port.write("\x03");
    scheduler.advance(1);  // ETX at 521; A at 1042: still on the wire
    port.clearInput();
    scheduler.advance(1);  // A and B have arrived
    port.clearInput();
    scheduler.advance(1);
    EXPECT_EQ(port.readAll(), "C");
}

TEST_F(LoopPortTest, ClosedPortSendsNothingAndSettingsSetThePace) {
    port.close();
    port.write("\x03");
    scheduler.advance(20);
    EXPECT_TRUE(peer.received.isEmpty());
    EXPECT_FALSE(port.open("SIM", "fast"));
    // Eight data bits, no parity, two stop bits: 11 bits per character.
    ASSERT_TRUE(port.open("SIM", "9600,N,8,2"));
    EXPECT_EQ(port.wireTimeUs(96), 110'000);
}
