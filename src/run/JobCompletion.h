#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

#include "files/records/DailyRecord.h"
#include "run/JobJournal.h"
#include "run/RunContext.h"

namespace dye {

struct CurrentJob;

// What the run reports when a job has ended: the record it wrote, the lines
// and how long the machine worked on it (and, on the two-balance machines,
// how long each balance metered).
struct FinishedJob {
    QString order;
    QString bucket;
    QStringList codes;
    QStringList recipeWeights;
    QStringList actualWeights;
    QString waterAmount;
    QString actualWater;
    qint64 machineMs = 0;
    std::array<qint64, 2> laneMeteringMs{};  // two-balance run only
    bool twoLanes = false;
};

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
    QChar dateSeparator = u'-';  // of the record's finish time text
    bool logEnd = true;          // "< save & end >" in the event log
};

// The job on the machine as its record holds it: the job fields, the rows
// and the four extra fields.
CompletedJob completedJobOf(const CurrentJob& job);
// Takes the finished (or already recorded) job off the machine and clears
// the run indicator; the machine is free again.
void clearJob(StationState& s);
// What the run reports of a job whose record holds `job`: its lines (rows
// with a code) and its machine time.
FinishedJob finishedJobOf(const CompletedJob& job, qint64 machineMs);
// The record of `job` in this month's or last month's record file, if any
// (a kill between the record and the journal's word about it).
std::optional<DailyRecord> jobRecord(const RunContext& c, const JobIdentity& job);
// The job as its record holds it.
CompletedJob completedJobOf(const DailyRecord& record, const JobIdentity& identity);
// Writes the journal, logging a failure.
void saveJournal(const RunContext& c, const JournalState& journal);

// The end of a job, the same for every run sequence: the daily record, the
// site profile's write-back, the removal of the job from the queue and the
// event-log line, kept in step with the job journal. A record that cannot be
// written stops the run with the job still queued; a job that cannot be
// removed stops the run, so that it is never taken again.
class JobCompletion {
  public:
    explicit JobCompletion(RunContext ctx) : c_(std::move(ctx)) {}

    enum class Outcome { Done, NotRecorded };
    // `writeBack` issues the profile's statements (the job is still on the
    // screen when it runs); it gets the finish time text of the record.
    // `journal` is the job's journal as the run keeps it; it is marked
    // recorded once the record is on the disk.
    Outcome complete(const CompletedJob& job, JournalState& journal,
                     const std::function<void(const QString& finishText)>& writeBack);
    // The site profile's write-back of a job as its record holds it, with the
    // record's finish time text.
    using WriteBack = std::function<void(const CompletedJob& job, const QString& finishText)>;
    // The end of a job whose record was written before the station stopped:
    // its write-back is handed on again from the record (the station may have
    // stopped before it was kept; one already applied is not applied twice),
    // then it leaves the queue and its journal goes.
    // `record` is the job's record as jobRecord() found it.
    bool finishRecorded(const JobIdentity& job, const std::optional<DailyRecord>& record,
                        const WriteBack& writeBack);

  private:
    bool writeDailyRecord(const CompletedJob& job, QString* error, QString* finishText);
    void removeFromQueue(const JobIdentity& job, const std::function<void()>& removed);
    static void jobLeftQueue(const RunContext& c);
    static void stopRun(const RunContext& c, const QString& why);

    RunContext c_;
};

class JobFile;
// The queue record number (from 1) of `job`, 0 when it is not queued.
int findQueuedJob(JobFile& queue, const JobIdentity& job);

// The end of the job on the machine, for both run sequences: `record`
// writes its record (and its write-back) from the job as it stands, with
// the job still loaded. What the run reports of it, started at `startedAt`;
// nothing when it could not be recorded (the job stays loaded and queued,
// and the run is stopped).
std::optional<FinishedJob> finishJob(
    const RunContext& c, const QDateTime& startedAt,
    const std::function<JobCompletion::Outcome(const CompletedJob&)>& record);

}  // namespace dye
