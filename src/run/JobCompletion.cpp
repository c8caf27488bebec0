#include "run/JobCompletion.h"

#include "core/Dialogs.h"
#include "core/Scheduler.h"
#include "files/jobs/BackgroundRemoval.h"
#include "files/jobs/JobFile.h"
#include "files/records/DailyRecord.h"
#include "files/records/DailyRecordFile.h"
#include "run/JobJournal.h"
#include "run/RunLists.h"
#include "run/TransferPhases.h"
#include "station/StationState.h"

namespace dye {

// The record first, synced; then the journal says so; then the job leaves
// the queue; then the journal goes (once the queue no longer holds the job). A kill between any two
// of these leaves what the next start needs to finish the job exactly once.
JobCompletion::Outcome JobCompletion::complete(
    const CompletedJob& job, JournalState& state,
    const std::function<void(const QString&)>& writeBack) {
    QString error;
    QString finishText;
    if (!writeDailyRecord(job, &error, &finishText)) {
        stopRun(c_, c_.say({u"單號 %1 的紀錄無法寫入（%2）。工作留在佇列中，運轉已停止："
                            u"請騰出紀錄檔的空間後再按 RUN。",
                            u"The record of job %1 could not be written (%2). The job stays "
                            u"in the queue and the run is stopped: make room for the record "
                            u"files, then run again."})
                        .arg(job.identity.order, error));
        return Outcome::NotRecorded;
    }
    const JobJournal journal(c_.workdir);
    state.job = job.identity;
    state.recorded = true;
    if (!journal.write(state, &error)) c_.log(QStringLiteral("<journal> ") + error);
    if (writeBack) writeBack(finishText);
    removeFromQueue(job.identity, [c = c_] { jobLeftQueue(c); });
    if (job.logEnd) c_.log(QStringLiteral("< save & end >"));
    return Outcome::Done;
}

bool JobCompletion::finishRecorded(const JobIdentity& job, const std::optional<DailyRecord>& record,
                                   const WriteBack& writeBack) {
    c_.log(QStringLiteral("<journal> job %1 was recorded before the station stopped: it leaves "
                          "the queue without being dispensed again")
               .arg(job.order));
    if (record) {
        if (writeBack) writeBack(completedJobOf(*record, job), record->FinishText);
    } else {
        c_.log(QStringLiteral("<journal> the record of job %1 was not found in this month's or "
                              "last month's record file: its write-back is not sent")
                   .arg(job.order));
    }
    bool removed = false;
    removeFromQueue(job, [this, &removed] {
        jobLeftQueue(c_);
        removed = true;
    });
    // The resume goes on only once the job has left the queue.
    const QString queue = jobQueueFile(c_.workdir).path();
    BackgroundRemoval::wait(queue);
    BackgroundRemoval::settle(queue);
    return removed;
}

void JobCompletion::stopRun(const RunContext& c, const QString& why) {
    if (c.state.timers.jobStart) c.state.timers.jobStart->setEnabled(false);
    if (c.state.timers.oneBalanceRun) c.state.timers.oneBalanceRun->setEnabled(false);
    if (c.state.timers.twoBalanceRun) c.state.timers.twoBalanceRun->setEnabled(false);
    c.state.run.waitReason = why;
    c.log(QStringLiteral("<run> stopped: ") + why);
    c.dialogs.message(why, QStringLiteral("INPUT"), [] {});
}

bool JobCompletion::writeDailyRecord(const CompletedJob& job, QString* error, QString* finishText) {
    DailyRecord record;
    record.QueuedAt = job.identity.queuedAt;
    record.OrderNo = job.identity.order;
    record.BucketNo = job.identity.bucket;
    record.WaterAmount = job.waterAmount;
    record.ActualWater = job.actualWater;
    for (size_t r = 0; r < job.codes.size(); ++r) {
        record.Code[r] = job.codes[r];
        record.RecipeWeight[r] = job.recipeWeights[r];
        record.ActualWeight[r] = job.actualWeights[r];
    }
    record.setFinishTime(c_.now(), job.dateSeparator);
    *finishText = record.FinishText;
    for (int k = 0; k < DailyRecord::kExtras; ++k) record.Extra[size_t(k)] = job.extras[size_t(k)];
    QString kept;
    const bool written = AppendDailyRecord(c_.workdir, record, error, &kept);
    if (!kept.isEmpty()) c_.log(QStringLiteral("<record> ") + kept);
    if (written) return true;
    c_.log(QStringLiteral("<record> ") + record.OrderNo + QStringLiteral(" not recorded: ") +
           *error);
    return false;
}

// Removes the queue record of the job that ran (its order and bucket), so
// that a waiting job is never removed in its place. A long queue is
// rewritten in the background: `removed` runs once the file no longer holds
// the job, and the job start waits for it.
void JobCompletion::removeFromQueue(const JobIdentity& job, const std::function<void()>& removed) {
    const QString& order = job.order;
    JobFile queue = jobQueueFile(c_.workdir);
    const int found = findQueuedJob(queue, job);
    if (found == 0 && queue.errorString().isEmpty()) {
        c_.log(QStringLiteral("<queue> job %1 was no longer in the queue").arg(order));
        fillQueueLists(c_);
        removed();
        return;
    }
    auto then = [c = c_, order, removed](const QString& error) mutable {
        if (error.isEmpty()) {
            removed();
        } else {
            // Taking it again would dispense it twice: the run stops for the operator.
            c.log(QStringLiteral("<queue> job %1 not removed: %2").arg(order, error));
            stopRun(c, c.say({u"單號 %1 已完成，但無法從佇列移除（%2）。運轉已停止：請先移除"
                              u"它再按 RUN。",
                              u"Job %1 is finished but could not be removed from the "
                              u"queue (%2). The run is stopped: remove it before running "
                              u"again."})
                           .arg(order, error));
        }
        fillQueueLists(c);
    };
    if (found == 0)
        then(queue.errorString());
    else
        BackgroundRemoval::remove(queue, found, then);
}

// The job is out of the queue: its journal goes and its bucket is free.
void JobCompletion::jobLeftQueue(const RunContext& c) {
    QString error;
    if (!JobJournal(c.workdir).clear(&error)) c.log(QStringLiteral("<journal> ") + error);
    c.state.bucketHoldsJob = false;
}

}  // namespace dye

namespace dye {

namespace {

bool isJob(const JobRecord& r, const JobIdentity& job) {
    if (r.OrderNo.trimmed() != job.order || r.BucketNo.trimmed() != job.bucket) return false;
    // A queue written without a queueing time matches on order and bucket alone.
    return job.queuedAt == 0.0 || sameQueuedAt(r.QueuedAt, job.queuedAt);
}

}  // namespace

int findQueuedJob(JobFile& queue, const JobIdentity& job) {
    // The job that ran was taken first in the queue, and normally still is:
    // a long queue is read through only when it is not.
    if (queue.count() >= 1)
        if (const std::optional<JobRecord> first = queue.read(1); first && isJob(*first, job))
            return 1;
    const QList<JobRecord> jobs = queue.records();
    for (int n = 1; n <= jobs.size(); ++n)
        if (isJob(jobs[n - 1], job)) return n;
    return 0;
}

}  // namespace dye

namespace dye {

CompletedJob completedJobOf(const CurrentJob& job) {
    CompletedJob record;
    record.identity = job.identity;
    record.waterAmount = job.water;
    record.actualWater = job.actualWater.trimmed();
    for (size_t r = 0; r < job.rows.size(); ++r) {
        const JobRow& row = job.rows[r];
        record.codes[r] = row.code;
        record.recipeWeights[r] = row.recipe.trimmed();
        record.actualWeights[r] = row.actual.trimmed();
    }
    record.extras = job.extras;
    return record;
}

void clearJob(StationState& s) {
    s.job.clear();
    setAnimation(s, 0, 0);  // the pictures stand still
    s.run.indicator.clear();
    s.run.blink = Blink::Off;
    s.run.laneHasRows = {};
    s.TransferActive.release();
}

FinishedJob finishedJobOf(const CompletedJob& record, qint64 machineMs) {
    FinishedJob done;
    done.order = record.identity.order;
    done.bucket = record.identity.bucket;
    done.waterAmount = record.waterAmount;
    done.actualWater = record.actualWater;
    for (size_t r = 0; r < record.codes.size(); ++r) {
        if (record.codes[r].isEmpty()) continue;
        done.codes << record.codes[r];
        done.recipeWeights << record.recipeWeights[r];
        done.actualWeights << record.actualWeights[r];
    }
    done.machineMs = machineMs;
    return done;
}

std::optional<FinishedJob> finishJob(
    const RunContext& c, const QDateTime& startedAt,
    const std::function<JobCompletion::Outcome(const CompletedJob&)>& record) {
    const CompletedJob job = completedJobOf(c.state.job.current());
    if (record(job) == JobCompletion::Outcome::NotRecorded) return std::nullopt;
    return finishedJobOf(job, startedAt.isValid() ? startedAt.msecsTo(c.now()) : 0);
}

std::optional<DailyRecord> jobRecord(const RunContext& c, const JobIdentity& job) {
    if (job.queuedAt == 0.0) return std::nullopt;
    const QDate today = c.now().date();
    for (const QDate month : {today, today.addMonths(-1)}) {
        QList<DailyRecord> records;
        if (!readDailyRecords(dailyRecordPath(c.workdir, month), records)) continue;
        // The last of its records: a job is recorded once, so this is the one.
        for (qsizetype k = records.size() - 1; k >= 0; --k) {
            const DailyRecord& r = records[k];
            if (r.OrderNo == job.order && r.BucketNo == job.bucket &&
                sameQueuedAt(r.QueuedAt, job.queuedAt))
                return r;
        }
    }
    return std::nullopt;
}

CompletedJob completedJobOf(const DailyRecord& record, const JobIdentity& identity) {
    CompletedJob job;
    job.identity = identity;
    job.waterAmount = record.WaterAmount;
    job.actualWater = record.ActualWater;
    for (size_t r = 0; r < job.codes.size(); ++r) {
        job.codes[r] = record.Code[r];
        job.recipeWeights[r] = record.RecipeWeight[r];
        job.actualWeights[r] = record.ActualWeight[r];
    }
    for (size_t k = 0; k < job.extras.size(); ++k) job.extras[k] = record.Extra[k];
    return job;
}

void saveJournal(const RunContext& c, const JournalState& journal) {
    c.state.bucketHoldsJob = journal.started() && !journal.recorded;
    QString error;
    if (!JobJournal(c.workdir).write(journal, &error)) c.log(QStringLiteral("<journal> ") + error);
}

}  // namespace dye
