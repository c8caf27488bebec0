#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "TestFiles.h"
#include "core/RealTimeDriver.h"
#include "core/Scheduler.h"

using namespace dye;
using dye::test::ensureCoreApp;

namespace {

// Runs the event loop for `ms` of wall time; returns the wall time it took.
qint64 runFor(int ms) {
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return wall.elapsed();
}

}  // namespace

TEST(RealTimeDriver, SpeedRunsStationTimeFasterAndPlaysEveryTick) {
    ensureCoreApp();
    Scheduler scheduler;
    int ticks = 0;
    scheduler.addTimer(QStringLiteral("scan"), 10, true, [&] { ++ticks; });
    RealTimeDriver driver(scheduler, 5);
    driver.setSpeed(20.0);
    driver.start();
    const qint64 wall = runFor(400);
    driver.stop();
    // Station time is twenty times the wall time, short of the pumps the
    // event loop had no time for at its end on a busy machine.
    EXPECT_GE(scheduler.now(), 20 * (wall - 100));
    EXPECT_LE(scheduler.now(), 20 * (wall + 2));
    // A pump's step spans ten ticks of a 10 ms timer; each of them fires, as
    // on virtual time. Caught up instead, one in ten would; a stall of the
    // test machine may lose some.
    EXPECT_GE(ticks, scheduler.now() / 10 / 2);
}
