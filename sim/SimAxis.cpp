#include "SimAxis.h"

#include <algorithm>
#include <cmath>

namespace dye {

void SimAxis::command(int direction, int speed, int distance, int mode, qint64 ms) {
    if ((direction != 1 && direction != 2) || speed <= 0) return;
    const double here = position(ms);
    const double sign = direction == 1 ? 1.0 : -1.0;
    double target =
        mode == kRun ? (direction == 1 ? travel_ : 0.0) : here + sign * std::abs(distance);
    target = std::clamp(target, 0.0, double(std::max(travel_, 0)));
    from_ = here;
    to_ = target;
    startMs_ = ms;
    endMs_ = ms + qint64(std::ceil(std::abs(target - here) * 1000.0 / speed));
}

double SimAxis::position(qint64 ms) const {
    if (ms >= endMs_ || endMs_ <= startMs_) return to_;
    if (ms <= startMs_) return from_;
    return from_ + (to_ - from_) * double(ms - startMs_) / double(endMs_ - startMs_);
}

void SimAxis::place(double position, qint64 ms) {
    from_ = to_ = position;
    startMs_ = endMs_ = ms;
}

}  // namespace dye
