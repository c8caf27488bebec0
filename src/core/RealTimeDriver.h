#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace dye {

class Scheduler;

// Drives a Scheduler from the real clock: a short Qt timer catches the
// scheduler up to the elapsed wall time. A stall (a modal window, a slow disk)
// makes each late timer fire once when it ends.
class RealTimeDriver : public QObject {
  public:
    explicit RealTimeDriver(Scheduler& scheduler, int resolutionMs = 5, QObject* parent = nullptr);
    void start();
    void stop();

  private:
    Scheduler& scheduler_;
    QTimer pump_;
    QElapsedTimer elapsed_;
    qint64 offset_ = 0;
};

}  // namespace dye
