#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

#include "run/JobJournal.h"
#include "run/RunContext.h"

namespace dye {

// A job as it leaves the machine: what its record holds.
struct CompletedJob {
    JobIdentity identity;
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
// event-log line, kept in step with the job journal. A record that cannot be
// written stops the run with the job still queued; a job that cannot be
// removed stops the job start, so that it is never taken again.
class JobCompletion {
  public:
    explicit JobCompletion(RunContext ctx) : c_(std::move(ctx)) {}

    enum class Outcome { Done, NotRecorded, NotRemoved };
    // `writeBack` issues the profile's statements (the job is still on the
    // screen when it runs).
    // `journal` is the job's journal as the run keeps it; it is marked
    // recorded once the record is on the disk.
    Outcome complete(const CompletedJob& job, JournalState& journal,
                     const std::function<void()>& writeBack);
    // The end of a job whose record was written before the station stopped:
    // it leaves the queue and its journal goes.
    bool finishRecorded(const JobIdentity& job);

  private:
    bool writeDailyRecord(const CompletedJob& job, QString* error);
    bool removeFromQueue(const JobIdentity& job);
    void stopRun(const QString& why);

    RunContext c_;
};

class JobFile;
// The queue record number (from 1) of `job`, 0 when it is not queued.
int findQueuedJob(JobFile& queue, const JobIdentity& job);

}  // namespace dye
