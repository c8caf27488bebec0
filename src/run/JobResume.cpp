#include "run/JobResume.h"

#include "core/Dialogs.h"
#include "run/JobCompletion.h"
#include "run/JobStart.h"

namespace dye {

QString JobResume::waitText(const QString& order) {
    return QStringLiteral(
               "Job %1 was interrupted with rows in its bucket: go on in the same bucket, or "
               "start it over in a new bucket.")
        .arg(order);
}

void JobResume::reset() {
    ready_ = false;
    pending_ = false;
    ++serial_;
}

bool JobResume::prepare() {
    if (pending_) return false;
    const JobIdentity& job = job_.currentJob();
    QString error;
    const std::optional<JournalState> j = JobJournal(c_.workdir).read(&error);
    if (!error.isEmpty()) c_.log(QStringLiteral("<journal> ") + error);
    if (j && j->job == job && (j->recorded || jobRecorded(c_, job))) {
        if (JobCompletion(c_).finishRecorded(job)) finished_();
        return false;
    }
    if (j && j->job == job && j->started()) {
        ask(*j);
        return false;
    }
    if (j && !(j->job == job))
        c_.log(QStringLiteral("<journal> job %1 of the journal is not the job taken (%2): its "
                              "journal is set aside")
                   .arg(j->job.order, job.order));
    startFresh(job);
    return true;
}

void JobResume::startFresh(const JobIdentity& job) {
    journal_ = JournalState{};
    journal_.job = job;
    saveJournal(c_, journal_);
    ready_ = true;
}

void JobResume::ask(const JournalState& j) {
    pending_ = true;
    const int serial = ++serial_;
    c_.dialogs.choose(
        QStringLiteral("Job %1 was interrupted with rows in its bucket. Go on in the same bucket "
                       "(the rows in it are kept), or start it over in a new bucket?")
            .arg(j.job.order),
        QStringLiteral("INPUT"),
        {QStringLiteral("Go on in the same bucket"), QStringLiteral("Start over in a new bucket")},
        [this, serial, j](int pick) {
            if (serial != serial_) return;  // stopped meanwhile
            pending_ = false;
            if (pick == 0) {
                journal_ = j;
                ready_ = true;
                goOn_(j);
                return;
            }
            c_.log(QStringLiteral("<resume> job %1 starts over in a new bucket").arg(j.job.order));
            startFresh(j.job);
        });
}

}  // namespace dye
