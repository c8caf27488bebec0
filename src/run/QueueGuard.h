#pragma once

#include <QString>

#include <optional>

#include "files/jobs/JobRecord.h"
#include "run/RunContext.h"

namespace dye {

class JobFile;
class MachineSettings;

// Why a queue record cannot be dispensed on the machine `settings` describe
// ("" when it can), whoever wrote it: no order number; a row that
// lineProblem refuses (a weight that is not a plain number above 0, a comma
// included; a weight with no code; a code no valve carries, of either
// station on type 5); no line with a product code; or, on the types that
// move the bucket to the place it names (1, 3 and 4), a bucket that
// bucketProblem refuses. In `language` (kEnglish for the event log).
QString undispensableReason(const JobRecord& job, const MachineSettings& settings, int language);

// Keeps what is in the job files from breaking the job start. A queue or
// recipe store path that is not a file, or a queue that cannot be read,
// blocks the job start with the reason; a partial record at the end of
// either file, and a first queue record that cannot be dispensed, are moved
// to the file's rejected-jobs file, so the jobs behind them go on. Each
// finding is written to the event log (in English) and shown to the
// operator once (in the station's language).
class QueueGuard {
  public:
    explicit QueueGuard(RunContext ctx) : c_(std::move(ctx)) {}

    // Moves a partial record at the end of the queue and of the recipe store
    // to their rejected files (every tick, a job on the machine or not), and
    // reports a partial record that a change of either file moved there.
    void keepTornTails();
    // Why no job can be taken from the queue, as the last check found it (""
    // when one can): shown on the main screen while it lasts; it was
    // reported once when it began.
    QString blockedReason() const;
    // The first queue record when it can be dispensed. One that cannot is
    // moved to the rejected file and reported, and nothing is taken on this
    // tick; the next record comes on the next one.
    std::optional<JobRecord> nextJob();

  private:
    // What the guard knows of one job file.
    struct Watched {
        qint64 rejectedSize = -1;  // the rejected file's size as last seen (-1: not yet)
        Notice problem;            // what is wrong with the file itself, as last reported
    };
    // `again` says what the operator does about a record set aside.
    void keepTornTail(JobFile file, Watched& w, const Wording& again);
    void reportTorn(const JobFile& file, int record, const QByteArray& tail, const Wording& again);
    void noteRejectedSize(const JobFile& file, Watched& w);
    void reportOnce(Notice& last, const Notice& problem);
    void report(const QString& logLine, const QString& message);

    RunContext c_;
    Watched queue_;
    Watched recipes_;
    Notice headProblem_;  // why the first queue record can be neither taken nor moved aside
};

}  // namespace dye
