#include <gtest/gtest.h>

#include <QStringList>

#include "core/Clock.h"
#include "core/Scheduler.h"

using namespace dye;

TEST(Scheduler, EnablingOrSettingTheIntervalRestartsTheCount) {
    Scheduler s;
    QList<qint64> at;
    Timer& t = s.addTimer("T", 100, false, [&] { at.append(s.now()); });
    s.advance(250);
    EXPECT_TRUE(at.isEmpty());
    t.setEnabled(true);  // count starts at 250
    s.advance(120);
    EXPECT_EQ(at, (QList<qint64>{350}));
    s.advance(80);  // now 450, next due 450
    at.clear();
    s.advance(-5);
    t.setInterval(100);  // restarts at 450 even with the same value
    s.advance(99);
    EXPECT_TRUE(at.isEmpty());
    s.advance(1);
    EXPECT_EQ(at, (QList<qint64>{550}));
    // An interval of 0 or below never fires, given at the start or later.
    int zero = 0;
    s.addTimer("scan", 0, true, [&] { ++zero; });
    t.setInterval(-5);
    s.advance(10000);
    EXPECT_EQ(zero, 0);
    EXPECT_EQ(at, (QList<qint64>{550}));
    EXPECT_EQ(s.nextDue(), -1);
}

TEST(Scheduler, TiesFireInRegistrationOrderAndOneShotsAfterTimers) {
    Scheduler s;
    QStringList order;
    s.addTimer("B", 100, true, [&] { order << "B"; });
    s.addTimer("A", 50, true, [&] { order << "A"; });
    s.singleShot(100, [&] { order << "shot"; });
    s.advance(100);
    EXPECT_EQ(order, (QStringList{"A", "B", "A", "shot"}));
}

TEST(Scheduler, LateTimerFiresOnceOnCatchUp) {
    Scheduler s;
    int fast = 0, slow = 0;
    s.addTimer("fast", 100, true, [&] { ++fast; });
    s.addTimer("slow", 5000, true, [&] { ++slow; });
    s.catchUp(1000);  // a stall of a second
    EXPECT_EQ(fast, 1);
    EXPECT_EQ(slow, 0);
    s.catchUp(1099);
    EXPECT_EQ(fast, 1);
    s.catchUp(1100);  // next count started when it fired late
    EXPECT_EQ(fast, 2);
}

TEST(Scheduler, HandlerIsNeverReentered) {
    Scheduler s;
    int depth = 0, maxDepth = 0, calls = 0;
    s.addTimer("T", 10, true, [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1) s.advance(100);  // a modal box pumping the scheduler
        --depth;
    });
    int other = 0;
    s.addTimer("other", 10, true, [&] { ++other; });
    s.advance(10);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(other, 10);  // the others kept running under it
}

TEST(Scheduler, HandlerMayReconfigureTimers) {
    Scheduler s;
    QList<qint64> at;
    Timer* self = nullptr;
    self = &s.addTimer("T", 100, true, [&] {
        at.append(s.now());
        self->setInterval(300);
    });
    s.advance(1000);
    EXPECT_EQ(at, (QList<qint64>{100, 400, 700, 1000}));
    EXPECT_EQ(s.timer("T"), self);
    EXPECT_EQ(s.timer("none"), nullptr);
}

TEST(Scheduler, AdvanceUntilStopsWhenDoneOrAtTheLimit) {
    Scheduler s;
    int n = 0;
    s.addTimer("T", 100, true, [&] { ++n; });
    EXPECT_TRUE(s.advanceUntil([&] { return n == 3; }, 1000));
    EXPECT_EQ(s.now(), 300);
    EXPECT_FALSE(s.advanceUntil([&] { return n == 100; }, 500));
    EXPECT_EQ(s.now(), 800);
}

TEST(Scheduler, WorkLeftToThePassEndRunsBeforeItsObserver) {
    Scheduler s;
    QStringList order;
    s.setPassObserver([&] { order << "observer"; });
    s.addTimer("T", 100, true, [&] {
        order << "tick";
        s.atPassEnd([&] { order << "end"; });
    });
    s.advance(250);
    EXPECT_EQ(order, (QStringList{"tick", "tick", "end", "end", "observer"}));
    EXPECT_FALSE(s.inPass());

    // Outside a pass it runs at once; a pass inside a handler ends with its own.
    order.clear();
    s.atPassEnd([&] { order << "now"; });
    EXPECT_EQ(order, QStringList{"now"});
    order.clear();
    s.addTimer("nested", 50, true, [&] {
        s.atPassEnd([&] { order << "outer end"; });
        s.advance(0);
        order << "after nested pass";
    });
    s.advance(50);  // now 300: T ticks, then the nested timer
    EXPECT_EQ(order, (QStringList{"tick", "end", "outer end", "after nested pass", "observer"}));
}

TEST(Clock, FollowsTheSchedulerTimeBase) {
    Scheduler s;
    Clock c(s, QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    s.advance(1500);
    EXPECT_EQ(c.now(), QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0, 500)));
}
