#pragma once

#include <QDateTime>

namespace dye {

class Scheduler;

// "Now" for records and logs, on the scheduler's time base: the wall-clock
// moment the scheduler started plus the scheduler's elapsed time. In virtual
// time the start is fixed by the caller, so dates are reproducible.
class Clock {
  public:
    Clock(const Scheduler& scheduler, QDateTime start = QDateTime::currentDateTime())
        : scheduler_(scheduler), start_(std::move(start)) {}

    QDateTime now() const;
    void setStart(const QDateTime& start) { start_ = start; }
    const QDateTime& start() const { return start_; }

  private:
    const Scheduler& scheduler_;
    QDateTime start_;
};

}  // namespace dye
