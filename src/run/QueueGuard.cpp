#include "run/QueueGuard.h"

#include <QFileInfo>

#include <algorithm>

#include "core/Dialogs.h"
#include "core/RecordFile.h"
#include "files/jobs/JobFile.h"
#include "files/jobs/RecipeCheck.h"
#include "files/settings/MachineSettings.h"
#include "station/StationState.h"

namespace dye {
namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

qint64 fileSize(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

// The job as the operator knows it: its order number, or where it stood.
QString jobName(const JobRecord& job, int record) {
    const QString order = job.OrderNo.trimmed();
    if (!order.isEmpty()) return QStringLiteral("Job %1").arg(order);
    const QString bucket = job.BucketNo.trimmed();
    return bucket.isEmpty()
               ? QStringLiteral("Queue record %1").arg(record)
               : QStringLiteral("Queue record %1 (bucket %2)").arg(QString::number(record), bucket);
}

}  // namespace

QString undispensableReason(const JobRecord& job, const MachineSettings& settings) {
    if (job.OrderNo.trimmed().isEmpty()) return QStringLiteral("it has no order number");
    if (QString why = waterProblem(job.WaterAmount, kEnglish); !why.isEmpty()) return why;
    for (int i = 0; i < JobRecord::kLines; ++i)
        if (QString why =
                lineProblem(i + 1, job.Code[size_t(i)], job.Weight[size_t(i)], settings, kEnglish);
            !why.isEmpty())
            return why;
    const bool anyLine = std::any_of(job.Code.begin(), job.Code.end(),
                                     [](const QString& code) { return !code.trimmed().isEmpty(); });
    if (!anyLine) return QStringLiteral("it has no line with a product code");
    const int type = settings.machineType();
    if (type == 1 || type == 3 || type == 4)
        if (const QString why = bucketProblem(job.BucketNo, settings, kEnglish); !why.isEmpty())
            return why.at(0).toLower() + why.mid(1).chopped(why.endsWith(QLatin1Char('.')) ? 1 : 0);
    return {};
}

void QueueGuard::report(const QString& logLine, const QString& message) {
    c_.log(QStringLiteral("<queue> ") + logLine);
    c_.dialogs.message(message, QStringLiteral("INPUT"), [] {});
}

// A problem is reported when it begins (or changes), not on every tick.
void QueueGuard::reportOnce(QString& last, const QString& problem) {
    if (problem == last) return;
    last = problem;
    if (!problem.isEmpty()) report(problem, problem);
}

void QueueGuard::noteRejectedSize(const JobFile& file, Watched& w) {
    w.rejectedSize = fileSize(file.rejectedPath());
}

void QueueGuard::reportTorn(const JobFile& file, int record, const QByteArray& tail,
                            const QString& again) {
    // One arg() call each, so that text from the file is never read as a
    // place marker.
    const QString order = JobRecord::fromBytes(tail).OrderNo.trimmed();
    const QString which = order.isEmpty() ? QString() : QStringLiteral(" (order %1)").arg(order);
    const QString n = QString::number(record);
    const QString size = QString::number(tail.size());
    const QString whole = QString::number(JobRecord::kLength);
    report(QStringLiteral("%1 record %2%3 is incomplete (%4 of %5 bytes): moved to %6")
               .arg(fileName(file.path()), n, which, size, whole, fileName(file.rejectedPath())),
           QStringLiteral("Record %1%2 at the end of %3 is incomplete (%4 of %5 bytes). It is "
                          "kept in %6 and is not used; %7.")
               .arg(n, which, file.path(), size, whole, file.rejectedPath(), again));
}

void QueueGuard::keepTornTails() {
    keepTornTail(jobQueueFile(c_.workdir), queue_, QStringLiteral("queue the job again"));
    keepTornTail(recipeStoreFile(c_.workdir), recipes_, QStringLiteral("save the recipe again"));
}

void QueueGuard::keepTornTail(JobFile file, Watched& w, const QString& again) {
    if (const QString why = notAFileReason(file.path()); !why.isEmpty()) {
        reportOnce(w.problem, why);
        return;
    }
    // A change of the file (an append, a removal) moves a partial record
    // there on its own; it is reported here, the one place that reports.
    const qint64 size = fileSize(file.rejectedPath());
    if (w.rejectedSize >= 0 && size > w.rejectedSize)
        report(QStringLiteral("a partial record at the end of %1 was moved to %2")
                   .arg(fileName(file.path()), fileName(file.rejectedPath())),
               QStringLiteral("A partial record at the end of %1 was moved to %2 when the file "
                              "was changed. It is not used; %3.")
                   .arg(file.path(), file.rejectedPath(), again));
    w.rejectedSize = size;

    const QByteArray tail = file.tail();
    if (!file.errorString().isEmpty()) {
        reportOnce(w.problem, file.errorString());
        return;
    }
    if (!tail.isEmpty()) {
        const int record = file.count() + 1;
        if (!file.setAsideTail()) {
            reportOnce(w.problem, file.errorString());
            return;
        }
        noteRejectedSize(file, w);
        reportTorn(file, record, file.keptTail(), again);
    }
    reportOnce(w.problem, QString());
}

QString QueueGuard::blockedReason() const {
    const QString why = !queue_.problem.isEmpty() ? queue_.problem : headProblem_;
    return why.isEmpty() ? QString() : QStringLiteral("No job is taken: %1").arg(why);
}

std::optional<JobRecord> QueueGuard::nextJob() {
    JobFile queue = jobQueueFile(c_.workdir);
    if (queue.count() < 1) {
        reportOnce(headProblem_, QString());
        return std::nullopt;
    }
    const std::optional<JobRecord> job = queue.read(1);
    if (!job) {
        reportOnce(headProblem_, queue.errorString());
        return std::nullopt;
    }
    const QString why = undispensableReason(*job, c_.state.settings);
    if (why.isEmpty()) {
        reportOnce(headProblem_, QString());
        return job;
    }
    const QString name = jobName(*job, 1);
    if (!queue.setAside(1, *job)) {
        reportOnce(headProblem_,
                   QStringLiteral("%1 cannot be dispensed (%2) and cannot be moved "
                                  "to %3: %4")
                       .arg(name, why, fileName(queue.rejectedPath()), queue.errorString()));
        return std::nullopt;
    }
    reportOnce(headProblem_, QString());
    const int tornRecord = queue.count() + 2;  // where a partial record moved with it stood
    noteRejectedSize(queue, queue_);
    report(QStringLiteral("%1 moved to %2: %3").arg(name, fileName(queue.rejectedPath()), why),
           QStringLiteral("%1 cannot be dispensed: %2. It was moved to %3; the jobs behind it "
                          "go on.")
               .arg(name, why, queue.rejectedPath()));
    if (!queue.keptTail().isEmpty())
        reportTorn(queue, tornRecord, queue.keptTail(), QStringLiteral("queue the job again"));
    return std::nullopt;
}

}  // namespace dye
