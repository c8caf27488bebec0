#pragma once

#include <QtGlobal>

#include <array>

namespace dye {

struct FinishedJob;

// What the station has done since it started, for the status service's
// metrics: finished jobs, their lines, the lines off their tolerance, and
// the metering error (actual - recipe weight, grams) as a histogram. The
// station feeds it from the run's finished-job report; nothing else writes it.
class StatusCounters {
  public:
    // Upper bounds (grams) of the error histogram's buckets; a last bucket
    // takes everything above.
    static constexpr std::array<double, 15> kErrorBounds = {-10, -5,  -2,  -1, -0.5, -0.2, -0.1, 0,
                                                            0.1, 0.2, 0.5, 1,  2,    5,    10};

    // A job left the machine; its lines are judged with `tolerance` (grams),
    // as the run marks them.
    void jobFinished(const FinishedJob& job, double tolerance);

    quint64 jobsFinished() const { return jobs_; }
    quint64 linesFinished() const { return lines_; }
    quint64 linesOff() const { return linesOff_; }
    // Lines whose error is at most kErrorBounds[i] (cumulative, as the
    // exposition format counts them); the error count is errorCount().
    quint64 errorsAtMost(size_t i) const { return cumulative_[i]; }
    quint64 errorCount() const { return errors_; }
    double errorSum() const { return errorSum_; }

  private:
    quint64 jobs_ = 0;
    quint64 lines_ = 0;
    quint64 linesOff_ = 0;
    std::array<quint64, kErrorBounds.size()> cumulative_{};
    quint64 errors_ = 0;
    double errorSum_ = 0;
};

}  // namespace dye
