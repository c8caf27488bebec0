#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace dye {

class Scheduler;

// Drives a Scheduler from the real clock: a short Qt timer catches the
// scheduler up to the elapsed wall time. A stall (a modal window, a slow disk)
// makes each late timer fire once when it ends.
//
// At a speed other than 1 the scheduler runs that many times faster (or
// slower) than the wall clock. Each pump then plays the station time since
// the last one exactly, every tick at its due time as on virtual time, since
// a pump's step (resolution × speed) may span several scan ticks; only a gap
// longer than a stall (kStallMs of wall time) is caught up as above.
class RealTimeDriver : public QObject {
  public:
    static constexpr qint64 kStallMs = 250;

    explicit RealTimeDriver(Scheduler& scheduler, int resolutionMs = 5, QObject* parent = nullptr);
    // Station time per wall time from now on; above 0.
    void setSpeed(double factor);
    double speed() const { return speed_; }
    void start();
    void stop();

  private:
    void pump();

    Scheduler& scheduler_;
    QTimer pump_;
    QElapsedTimer elapsed_;
    qint64 offset_ = 0;
    double speed_ = 1.0;
};

}  // namespace dye
