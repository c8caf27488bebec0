#include "QueueEditor.h"

#include "core/Dialogs.h"
#include "core/OleDate.h"
#include "files/jobs/JobFile.h"
#include "files/language/Wording.h"
#include "run/JobJournal.h"
#include "run/JobStart.h"
#include "run/RunLists.h"
#include "screens/entry/EditorFields.h"
#include "station/StationState.h"

namespace dye {

void QueueEditor::queueRecipe() {
    const JobRecord job = editorRecord(c_.state.form3);
    if (const QString why = editorProblem(job, c_.state.settings); !why.isEmpty()) {
        tell(why);
        return;
    }
    JobFile queue = jobQueueFile(c_.workdir);
    QString error;
    const std::optional<bool> queued = holdsOrder(queue, job.OrderNo, &error);
    if (!queued) {
        tell(unreadable(error));
        return;
    }
    if (!*queued) {
        append(job);
        return;
    }
    // The same order twice in the queue is metered twice: only when the
    // operator says so.
    askYesNo(c_,
             {u"單號 %1 已在計量佇列中。要再排入一次嗎？",
              u"Order %1 is already in the queue. Queue it again?"},
             {job.OrderNo}, [this, job](bool yes) {
                 if (yes) append(job);
             });
}

void QueueEditor::append(JobRecord job) {
    job.QueuedAt = toOleDate(c_.now());
    JobFile queue = jobQueueFile(c_.workdir);
    if (!queue.append(job)) {
        tell(c_.say({u"單號 %1 沒有排入計量：%2", u"The job %1 was not queued: %2"})
                 .arg(job.OrderNo, queue.errorString()));
        return;
    }
    // The editor keeps the recipe, so that it can be queued again.
    if (jobStart_.QueueListHold == 0) refill();
}

void QueueEditor::deleteSelected() {
    const ListBox& list = c_.state.form3.List2;
    const int index = list.ListIndex;
    if (index < 0) {
        tell(c_.say({u"計量佇列清單中沒有選擇工作：請選擇要刪除的工作。",
                     u"No job is chosen in the queue list: choose the job to delete."}));
    } else if (index >= kQueueListLines) {
        tell(
            c_.say({u"佇列清單的最後一行是沒有顯示的工作數：請從清單中顯示的工作選擇要刪除的一筆。",
                    u"The last line of the queue list counts the jobs it does not show: choose "
                    u"one of the jobs shown to delete it."}));
    } else {
        const QString shown = list.items.value(index);
        const double shownAt = list.ItemData.value(index);
        if (const QString why = whyNotDeleted(index, shown, shownAt); !why.isEmpty()) {
            tell(why);
        } else {
            // The list stays held while the question is open; the answer
            // checks the entry again, since the queue goes on meanwhile.
            askYesNo(c_, {u"要從計量佇列刪除 %1 嗎？", u"Delete %1 from the queue?"}, {shown},
                     [this, index, shown, shownAt](bool yes) {
                         if (yes) remove(index, shown, shownAt);
                         refill();
                         jobStart_.QueueListHold = 0;
                     });
            return;
        }
    }
    refill();
    jobStart_.QueueListHold = 0;
}

void QueueEditor::remove(int index, const QString& shown, double shownAt) {
    if (const QString why = whyNotDeleted(index, shown, shownAt); !why.isEmpty()) {
        tell(why);
        return;
    }
    JobFile queue = jobQueueFile(c_.workdir);
    if (!queue.remove(queueListRecord(index)))
        tell(
            c_.say({u"%1 沒有從計量佇列刪除：%2", u"The job %1 was not deleted from the queue: %2"})
                .arg(shown, queue.errorString()));
    else
        c_.log(QStringLiteral("<queue> %1 deleted by the operator").arg(shown));
}

QString QueueEditor::whyNotDeleted(int index, const QString& shown, double shownAt) const {
    JobFile queue = jobQueueFile(c_.workdir);
    const int k = queueListRecord(index);
    const std::optional<JobRecord> job = k <= queue.count() ? queue.read(k) : std::nullopt;
    const bool same =
        job && job->OrderNo.trimmed() + QStringLiteral("---") + job->BucketNo.trimmed() == shown &&
        sameQueuedAt(job->QueuedAt, shownAt);
    if (!queue.errorString().isEmpty()) return unreadable(queue.errorString());
    if (!same)
        return c_
            .say({u"佇列清單已過時：%1 已不在佇列中的那個位置。清單已重新顯示佇列；請重新選擇要"
                  u"刪除的工作。",
                  u"The queue list was out of date: %1 is no longer at that place in the queue. "
                  u"The list now shows the queue again; choose the job again to delete it."})
            .arg(shown);
    return k == 1 ? whyItStays(*job) : QString();
}

void QueueEditor::queueClicked() {
    jobStart_.QueueListHold = jobStart_.QueueListHold == 0 ? 1 : 0;
}

QString QueueEditor::whyItStays(const JobRecord& job) const {
    const JobIdentity id{job.OrderNo.trimmed(), job.BucketNo.trimmed(), job.QueuedAt};
    const CurrentJob& onMachine = c_.state.job.current();
    if (onMachine.loaded() && onMachine.identity == id)
        return c_
            .say({u"單號 %1 正在機台上：完成後才會離開佇列，現在不能刪除。",
                  u"Job %1 is on the machine: it leaves the queue when it is finished and "
                  u"cannot be deleted now."})
            .arg(id.order);
    // A stopped job keeps its journal: the next run goes on in the same bucket.
    const std::optional<JournalState> journal = JobJournal(c_.workdir).read();
    if (journal && journal->job == id && !journal->recorded && journal->started())
        return c_
            .say({u"單號 %1 停止時桶內已有原料：請按 RUN 在同一桶繼續或重新開始；在那之前不能"
                  u"從佇列刪除。",
                  u"Job %1 was stopped with products in its bucket: run it to go on in the same "
                  u"bucket or to start it over; it cannot be deleted from the queue before."})
            .arg(id.order);
    return {};
}

void QueueEditor::refill() {
    if (const QString error = fillQueueLists(c_); !error.isEmpty()) tell(unreadable(error));
}

QString QueueEditor::unreadable(const QString& error) const {
    return c_.say({u"計量佇列檔無法讀取：%1", u"The queue file cannot be read: %1"}).arg(error);
}

void QueueEditor::tell(const QString& text) {
    c_.dialogs.message(text, c_.state.form3.Caption, [] {});
}

}  // namespace dye
