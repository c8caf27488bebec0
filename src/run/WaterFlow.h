#pragma once

#include <QtGlobal>

#include <optional>
#include <vector>

namespace dye {

// The fresh readings of balance 1 while a water pipe is open, each with the
// moment its answer came in, and the pipe's rate fitted through those that
// lie inside a window of sure full flow (a least-squares line, so that one
// noisy reading weighs little).
class WaterFlow {
  public:
    void clear() { points_.clear(); }
    // Keeps a reading once (readings are kept by the moment they came in).
    void note(qint64 atMs, double weight) {
        if (atMs < 0 || (!points_.empty() && points_.back().at >= atMs)) return;
        points_.push_back({atMs, weight});
    }
    // The rate (units per second) through the readings from `fromMs` to
    // `untilMs`, when they span at least `leastSpanMs`.
    std::optional<double> rate(qint64 fromMs, qint64 untilMs, qint64 leastSpanMs = 2000) const {
        double n = 0, st = 0, sw = 0, stt = 0, stw = 0;
        qint64 first = -1, last = -1;
        for (const Point& p : points_) {
            if (p.at < fromMs || p.at > untilMs) continue;
            if (first < 0) first = p.at;
            last = p.at;
            const double t = double(p.at - fromMs) / 1000.0;
            n += 1;
            st += t;
            sw += p.weight;
            stt += t * t;
            stw += t * p.weight;
        }
        if (n < 3 || last - first < leastSpanMs) return std::nullopt;
        const double d = n * stt - st * st;
        if (d <= 0) return std::nullopt;
        return (n * stw - st * sw) / d;
    }

  private:
    struct Point {
        qint64 at;
        double weight;
    };
    std::vector<Point> points_;
};

}  // namespace dye
