#include "RealTimeDriver.h"

#include <cmath>

#include "Scheduler.h"

namespace dye {

RealTimeDriver::RealTimeDriver(Scheduler& scheduler, int resolutionMs, QObject* parent)
    : QObject(parent), scheduler_(scheduler) {
    pump_.setInterval(resolutionMs);
    pump_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pump_, &QTimer::timeout, this, [this] { pump(); });
}

void RealTimeDriver::setSpeed(double factor) {
    if (!(factor > 0.0)) return;
    // Station time so far stays; the new pace counts from here.
    offset_ = scheduler_.now();
    elapsed_.restart();
    speed_ = factor;
}

void RealTimeDriver::start() {
    offset_ = scheduler_.now();
    elapsed_.start();
    pump_.start();
}

void RealTimeDriver::stop() {
    pump_.stop();
}

void RealTimeDriver::pump() {
    const qint64 wall = elapsed_.elapsed();
    if (speed_ == 1.0) {
        scheduler_.catchUp(offset_ + wall);
        return;
    }
    const qint64 target = offset_ + qint64(std::floor(double(wall) * speed_));
    const qint64 step = target - scheduler_.now();
    if (step <= 0) return;
    if (double(step) <= double(kStallMs) * speed_)
        scheduler_.advance(step);
    else
        scheduler_.catchUp(target);
}

}  // namespace dye
