#include <gtest/gtest.h>

#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"

using namespace dye;

TEST(HeadlessDialogs, MessageDoesNotBlockAndIsAcknowledgedAfterTheDelay) {
    Scheduler s;
    HeadlessDialogs d(s, 500);
    int ticks = 0;
    bool acked = false;
    s.addTimer("other", 100, true, [&] { ++ticks; });
    d.message("no flow", "alarm", [&] { acked = true; });
    EXPECT_FALSE(acked);  // the caller returns at once and parks
    EXPECT_EQ(d.pending(), 1);
    s.advance(499);
    EXPECT_FALSE(acked);
    EXPECT_EQ(ticks, 4);  // other timers keep running meanwhile
    s.advance(1);
    EXPECT_TRUE(acked);
    EXPECT_EQ(d.pending(), 0);
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0].text, "no flow");
}

TEST(HeadlessDialogs, ManualAcknowledgeAndScriptedInput) {
    Scheduler s;
    HeadlessDialogs d(s, -1);
    int acks = 0;
    d.message("one", "", [&] { ++acks; });
    d.message("two", "", [&] { acks += 10; });
    s.advance(100000);
    EXPECT_EQ(acks, 0);
    EXPECT_TRUE(d.acknowledge());
    EXPECT_EQ(acks, 1);
    EXPECT_TRUE(d.acknowledge(1));
    EXPECT_FALSE(d.acknowledge(1));  // never twice
    EXPECT_EQ(acks, 11);

    d.scriptInput({"1234", QString()});
    EXPECT_EQ(d.inputBox("code?", "", ""), std::optional<QString>("1234"));
    EXPECT_EQ(d.inputBox("code?", "", ""), std::nullopt);
    EXPECT_EQ(d.inputBox("code?", "", "dflt"), std::optional<QString>("dflt"));
    EXPECT_EQ(d.prompts().size(), 3);
}
