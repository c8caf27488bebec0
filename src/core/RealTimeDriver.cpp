#include "RealTimeDriver.h"

#include "Scheduler.h"

namespace dye {

RealTimeDriver::RealTimeDriver(Scheduler& scheduler, int resolutionMs, QObject* parent)
    : QObject(parent), scheduler_(scheduler) {
    pump_.setInterval(resolutionMs);
    pump_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pump_, &QTimer::timeout, this,
                     [this] { scheduler_.catchUp(offset_ + elapsed_.elapsed()); });
}

void RealTimeDriver::start() {
    offset_ = scheduler_.now();
    elapsed_.start();
    pump_.start();
}

void RealTimeDriver::stop() {
    pump_.stop();
}

}  // namespace dye
