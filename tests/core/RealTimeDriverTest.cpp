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

TEST(RealTimeDriver, SpeedRunsStationTimeFasterAndPlaysEveryTick) {
    ensureCoreApp();
    Scheduler scheduler;
    int ticks = 0;
    scheduler.addTimer(QStringLiteral("scan"), 10, true, [&] { ++ticks; });
    RealTimeDriver driver(scheduler, 5);
    driver.setSpeed(20.0);
    // The wall time is taken around the driver's whole run, so station time
    // can never be ahead of twenty times it.
    QElapsedTimer wall;
    wall.start();
    driver.start();
    QEventLoop loop;  // 400 ms of wall time
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
    driver.stop();
    const qint64 elapsed = wall.elapsed();
    EXPECT_LE(scheduler.now(), 20 * (elapsed + 1));
    // It is not far behind either, unless the event loop was starved for
    // most of the run (a loaded test machine may delay some pumps).
    EXPECT_GE(scheduler.now(), 20 * elapsed / 4);
    // A pump's step spans ten ticks of a 10 ms timer; each of them fires, as
    // on virtual time. Caught up instead, one in ten would; a stall of the
    // test machine may lose some.
    EXPECT_GE(ticks, scheduler.now() / 10 / 2);
}
