#include "app/QueueRunner.h"

#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "files/jobs/BackgroundRemoval.h"
#include "files/jobs/JobFile.h"

namespace dye {
namespace {

constexpr qint64 kStep = 1000;         // virtual ms per advance
constexpr qint64 kStuckAfter = 60000;  // a reason to wait must stand this long

QString joined(const QStringList& items) {
    return items.isEmpty() ? QStringLiteral("-") : items.join(QStringLiteral(" / "));
}

QString duration(qint64 ms) {
    const qint64 s = (ms + 500) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString QueueRunner::describe(const FinishedJob& job) {
    return QStringLiteral(
               "%1  bucket %2  lines %3  recipe %4  actual %5  water %6 / %7  machine %8")
               .arg(job.order, job.bucket.isEmpty() ? QStringLiteral("-") : job.bucket)
               .arg(job.codes.size())
               .arg(joined(job.recipeWeights), joined(job.actualWeights),
                    job.waterAmount.isEmpty() ? QStringLiteral("0") : job.waterAmount,
                    job.actualWater.isEmpty() ? QStringLiteral("0") : job.actualWater,
                    duration(job.machineMs)) +
           (job.twoLanes
                ? QStringLiteral("  lanes %1 + %2")
                      .arg(duration(job.laneMeteringMs[0]), duration(job.laneMeteringMs[1]))
                : QString());
}

bool QueueRunner::idle() const {
    const StationState& s = station_.state;
    if (s.onMachine()) return false;
    if (s.wash.WashPhase != 0) return false;
    // Plant work under way, or a vat list not yet found empty, may bring jobs.
    if (station_.plantDatabase().pending() > 0) return false;
    if (s.timers.intake && s.timers.intake->enabled() &&
        station_.plant().siteProfile() == SiteProfile::Marigold &&
        station_.vatIntake().emptyPolls() == 0)
        return false;
    // A queue that cannot be read is not an empty one.
    JobFile queue = jobQueueFile(station_.workdir());
    return queue.count() == 0 && queue.errorString().isEmpty();
}

void QueueRunner::reportMessages() {
    HeadlessDialogs* d = station_.headlessDialogs();
    if (!d) return;
    for (; messagesShown_ < d->messages().size(); ++messagesShown_)
        err_ << "message at " << station_.clock.now().toString(QStringLiteral("hh:mm:ss")) << ": "
             << d->messages()[messagesShown_].text << "\n";
    err_.flush();
}

QueueRunner::~QueueRunner() {
    if (observer_ != 0) station_.removeFinishedObserver(observer_);
}

int QueueRunner::run(qint64 maxMsWithoutProgress) {
    const auto report = [this](const FinishedJob& job) {
        finished_ << job;
        out_ << describe(job) << "\n";
        out_.flush();
    };
    if (observer_ == 0) observer_ = station_.addFinishedObserver(report);
    Scheduler& clock = station_.scheduler;
    qint64 lastProgress = clock.now();
    qint64 waitingSince = -1;
    qsizetype seen = 0;
    const QString queuePath = jobQueueFile(station_.workdir()).path();
    while (true) {
        // Machine time does not run ahead of a queue rewritten in the background.
        BackgroundRemoval::wait(queuePath);
        clock.advance(kStep);
        reportMessages();
        if (finished_.size() != seen) {
            seen = finished_.size();
            lastProgress = clock.now();
        }
        // A queue the job start cannot take from will not mend itself.
        if (const QString why = station_.jobStart().queueBlocked(); !why.isEmpty()) {
            err_ << "dyestation: the run cannot go on: " << why << "\n";
            return kStuck;
        }
        if (idle()) return kIdle;
        const QString reason = station_.state.run.waitReason;
        // A run the station stopped (a record or a removal that failed) does
        // not come back by itself: say so at once.
        const Timer* jobStart = station_.state.timers.jobStart;
        if (jobStart && !jobStart->enabled()) {
            err_ << "dyestation: the run is stopped: "
                 << (reason.isEmpty() ? QStringLiteral("see the event log") : reason) << "\n";
            return kStuck;
        }
        if (reason.isEmpty()) {
            waitingSince = -1;
        } else if (waitingSince < 0) {
            waitingSince = clock.now();
        } else if (clock.now() - waitingSince >= kStuckAfter) {
            err_ << "dyestation: the run cannot go on: " << reason << "\n";
            return kStuck;
        }
        if (clock.now() - lastProgress > maxMsWithoutProgress) {
            err_ << "dyestation: no job finished in " << duration(maxMsWithoutProgress)
                 << " of machine time; the job on the machine: "
                 << station_.state.job.current().identity.order << " (row step "
                 << station_.transfer().rowStep() << ", balance 1 reading "
                 << station_.state.form2.Label2[0] << ")\n";
            return kTimedOut;
        }
    }
}

}  // namespace dye
