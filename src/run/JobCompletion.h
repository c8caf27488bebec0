#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

#include "run/RunContext.h"

namespace dye {

// A job as it leaves the machine: what its record holds.
struct CompletedJob {
    QString order;
    QString bucket;
    QString waterAmount;
    QString actualWater;
    // Per grid row (up to ten): code, recipe weight and actual weight.
    std::array<QString, 10> codes;
    std::array<QString, 10> recipeWeights;
    std::array<QString, 10> actualWeights;
    std::array<QString, 4> extras;
};

// The end of a job, the same for every run sequence: the daily record, the
// site profile's write-back, the removal of the job from the queue and the
// event-log line. A job that cannot be removed stops the job start, so that
// it is never taken again.
class JobCompletion {
  public:
    explicit JobCompletion(RunContext ctx) : c_(std::move(ctx)) {}

    // `writeBack` issues the profile's statements (the job is still on the
    // screen when it runs). Returns false when the job stays in the queue.
    bool complete(const CompletedJob& job, const std::function<void()>& writeBack);

  private:
    void writeDailyRecord(const CompletedJob& job);
    bool removeFromQueue(const QString& order, const QString& bucket);

    RunContext c_;
};

}  // namespace dye
