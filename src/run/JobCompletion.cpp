#include "run/JobCompletion.h"

#include "core/Dialogs.h"
#include "core/Scheduler.h"
#include "jobs/JobFile.h"
#include "records/DailyRecord.h"
#include "records/DailyRecordFile.h"
#include "run/RunLists.h"
#include "station/StationState.h"

namespace dye {

bool JobCompletion::complete(const CompletedJob& job, const std::function<void()>& writeBack) {
    writeDailyRecord(job);
    if (writeBack) writeBack();
    const bool removed = removeFromQueue(job.order, job.bucket);
    c_.log(QStringLiteral("< save & end >"));
    return removed;
}

void JobCompletion::writeDailyRecord(const CompletedJob& job) {
    DailyRecord record;
    record.OrderNo = job.order;
    record.BucketNo = job.bucket;
    record.WaterAmount = job.waterAmount;
    record.ActualWater = job.actualWater;
    for (size_t r = 0; r < job.codes.size(); ++r) {
        record.Code[r] = job.codes[r];
        record.RecipeWeight[r] = job.recipeWeights[r];
        record.ActualWeight[r] = job.actualWeights[r];
    }
    record.setFinishTime(c_.now());
    for (int k = 0; k < DailyRecord::kExtras; ++k) record.Extra[size_t(k)] = job.extras[size_t(k)];
    QString error;
    if (!AppendDailyRecord(c_.workdir, record, &error)) {
        c_.log(QStringLiteral("<record> ") + record.OrderNo + QStringLiteral(" not recorded: ") +
               error);
        c_.dialogs.message(QStringLiteral("The record of job %1 could not be written: %2")
                               .arg(record.OrderNo, error),
                           QStringLiteral("INPUT"), [] {});
    }
}

// Removes the queue record of the job that ran (its order and bucket), so
// that a waiting job is never removed in its place.
bool JobCompletion::removeFromQueue(const QString& order, const QString& bucket) {
    JobFile queue = jobQueueFile(c_.workdir);
    const QList<JobRecord> jobs = queue.records();
    int found = 0;
    for (int n = 1; n <= jobs.size() && found == 0; ++n) {
        const JobRecord& r = jobs[n - 1];
        if (r.OrderNo.trimmed() == order && r.BucketNo.trimmed() == bucket) found = n;
    }
    bool removed = true;
    if (found == 0 && queue.errorString().isEmpty()) {
        c_.log(QStringLiteral("<queue> job %1 was no longer in the queue").arg(order));
    } else if (found == 0 || !queue.remove(found)) {
        // Taking it again would dispense it twice: the run stops for the operator.
        removed = false;
        c_.log(QStringLiteral("<queue> job %1 not removed: %2").arg(order, queue.errorString()));
        if (c_.state.form3.Timer1) c_.state.form3.Timer1->setEnabled(false);
        c_.dialogs.message(
            QStringLiteral("Job %1 is finished but could not be removed from the queue (%2). "
                           "The run is stopped: remove it before running again.")
                .arg(order, queue.errorString()),
            QStringLiteral("INPUT"), [] {});
    }
    fillQueueLists(c_);
    return removed;
}

}  // namespace dye
