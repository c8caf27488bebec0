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

// What the operator does about a job file's record set aside.
constexpr Wording kQueueAgain{u"請重新排入工作", u"queue the job again"};
constexpr Wording kSaveAgain{u"請重新存檔配方", u"save the recipe again"};

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

qint64 fileSize(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

// The job as the operator knows it: its order number, or where it stood.
QString jobName(const JobRecord& job, int record, int language) {
    const QString order = job.OrderNo.trimmed();
    if (!order.isEmpty()) return wordingIn(language, {u"單號 %1", u"Job %1"}).arg(order);
    const QString bucket = job.BucketNo.trimmed();
    return bucket.isEmpty()
               ? wordingIn(language, {u"佇列第 %1 筆", u"Queue record %1"}).arg(record)
               : wordingIn(language, {u"佇列第 %1 筆（桶號 %2）", u"Queue record %1 (bucket %2)"})
                     .arg(QString::number(record), bucket);
}

// A problem that is a sentence of its own, as part of another: without its
// full stop, lower case in English.
QString asPart(QString why) {
    if (why.endsWith(QLatin1Char('.')) || why.endsWith(u'。')) why.chop(1);
    return why.at(0).toLower() + why.mid(1);
}

}  // namespace

QString undispensableReason(const JobRecord& job, const MachineSettings& settings, int language) {
    if (job.OrderNo.trimmed().isEmpty())
        return wordingIn(language, {u"沒有單號", u"it has no order number"});
    if (QString why = waterProblem(job.WaterAmount, language); !why.isEmpty()) return why;
    for (int i = 0; i < JobRecord::kLines; ++i)
        if (QString why =
                lineProblem(i + 1, job.Code[size_t(i)], job.Weight[size_t(i)], settings, language);
            !why.isEmpty())
            return why;
    const bool anyLine = std::any_of(job.Code.begin(), job.Code.end(),
                                     [](const QString& code) { return !code.trimmed().isEmpty(); });
    if (!anyLine)
        return wordingIn(language, {u"沒有任何一列有代碼", u"it has no line with a product code"});
    const int type = settings.machineType();
    if (type == 1 || type == 3 || type == 4)
        if (const QString why = bucketProblem(job.BucketNo, settings, language); !why.isEmpty())
            return asPart(why);
    return {};
}

void QueueGuard::report(const QString& logLine, const QString& message) {
    c_.log(QStringLiteral("<queue> ") + logLine);
    c_.dialogs.message(message, QStringLiteral("INPUT"), [] {});
}

// A problem is reported when it begins (or changes), not on every tick.
void QueueGuard::reportOnce(Notice& last, const Notice& problem) {
    if (problem.logged == last.logged) return;
    last = problem;
    if (!problem.isEmpty()) report(problem.logged, problem.shown);
}

void QueueGuard::noteRejectedSize(const JobFile& file, Watched& w) {
    w.rejectedSize = fileSize(file.rejectedPath());
}

void QueueGuard::reportTorn(const JobFile& file, int record, const QByteArray& tail,
                            const Wording& again) {
    // One arg() call each, so that text from the file is never read as a
    // place marker.
    const QString order = JobRecord::fromBytes(tail).OrderNo.trimmed();
    const QString which = order.isEmpty() ? QString() : QStringLiteral(" (order %1)").arg(order);
    const QString whichShown =
        order.isEmpty() ? QString() : c_.say({u"（單號 %1）", u" (order %1)"}).arg(order);
    const QString n = QString::number(record);
    const QString size = QString::number(tail.size());
    const QString whole = QString::number(JobRecord::kLength);
    report(QStringLiteral("%1 record %2%3 is incomplete (%4 of %5 bytes): moved to %6")
               .arg(fileName(file.path()), n, which, size, whole, fileName(file.rejectedPath())),
           c_.say({u"%3 最後的第 %1 筆%2不完整（%4/%5 位元組）。已保留在 %6，不會使用；%7。",
                   u"Record %1%2 at the end of %3 is incomplete (%4 of %5 bytes). It is kept in "
                   u"%6 and is not used; %7."})
               .arg(n, whichShown, file.path(), size, whole, file.rejectedPath(), c_.say(again)));
}

void QueueGuard::keepTornTails() {
    keepTornTail(jobQueueFile(c_.workdir), queue_, kQueueAgain);
    keepTornTail(recipeStoreFile(c_.workdir), recipes_, kSaveAgain);
}

void QueueGuard::keepTornTail(JobFile file, Watched& w, const Wording& again) {
    if (const QString why = notAFileReason(file.path()); !why.isEmpty()) {
        reportOnce(w.problem, {why, why});
        return;
    }
    // A change of the file (an append, a removal) moves a partial record
    // there on its own; it is reported here, the one place that reports.
    const qint64 size = fileSize(file.rejectedPath());
    if (w.rejectedSize >= 0 && size > w.rejectedSize)
        report(QStringLiteral("a partial record at the end of %1 was moved to %2")
                   .arg(fileName(file.path()), fileName(file.rejectedPath())),
               c_.say({u"%1 最後不完整的一筆在檔案變動時已移到 %2，不會使用；%3。",
                       u"A partial record at the end of %1 was moved to %2 when the file was "
                       u"changed. It is not used; %3."})
                   .arg(file.path(), file.rejectedPath(), c_.say(again)));
    w.rejectedSize = size;

    const QByteArray tail = file.tail();
    if (!file.errorString().isEmpty()) {
        reportOnce(w.problem, {file.errorString(), file.errorString()});
        return;
    }
    if (!tail.isEmpty()) {
        const int record = file.count() + 1;
        if (!file.setAsideTail()) {
            reportOnce(w.problem, {file.errorString(), file.errorString()});
            return;
        }
        noteRejectedSize(file, w);
        reportTorn(file, record, file.keptTail(), again);
    }
    reportOnce(w.problem, {});
}

QString QueueGuard::blockedReason() const {
    const QString why = !queue_.problem.isEmpty() ? queue_.problem.shown : headProblem_.shown;
    return why.isEmpty() ? QString() : c_.say({u"不接工作：%1", u"No job is taken: %1"}).arg(why);
}

std::optional<JobRecord> QueueGuard::nextJob() {
    JobFile queue = jobQueueFile(c_.workdir);
    if (queue.count() < 1) {
        reportOnce(headProblem_, {});
        return std::nullopt;
    }
    const std::optional<JobRecord> job = queue.read(1);
    if (!job) {
        reportOnce(headProblem_, {queue.errorString(), queue.errorString()});
        return std::nullopt;
    }
    const MachineSettings& settings = c_.state.settings;
    const QString why = undispensableReason(*job, settings, kEnglish);
    if (why.isEmpty()) {
        reportOnce(headProblem_, {});
        return job;
    }
    const int language = settings.language();
    const QString name = jobName(*job, 1, kEnglish);
    const QString nameShown = jobName(*job, 1, language);
    const QString whyShown = undispensableReason(*job, settings, language);
    const QString rejected = fileName(queue.rejectedPath());
    if (!queue.setAside(1, *job)) {
        reportOnce(headProblem_,
                   {QStringLiteral("%1 cannot be dispensed (%2) and cannot be moved to %3: %4")
                        .arg(name, why, rejected, queue.errorString()),
                    c_.say({u"%1 無法計量（%2），也無法移到 %3：%4",
                            u"%1 cannot be dispensed (%2) and cannot be moved to %3: %4"})
                        .arg(nameShown, whyShown, rejected, queue.errorString())});
        return std::nullopt;
    }
    reportOnce(headProblem_, {});
    const int tornRecord = queue.count() + 2;  // where a partial record moved with it stood
    noteRejectedSize(queue, queue_);
    report(QStringLiteral("%1 moved to %2: %3").arg(name, rejected, why),
           c_.say({u"%1 無法計量：%2。已移到 %3；後面的工作繼續。",
                   u"%1 cannot be dispensed: %2. It was moved to %3; the jobs behind it go on."})
               .arg(nameShown, whyShown, queue.rejectedPath()));
    if (!queue.keptTail().isEmpty()) reportTorn(queue, tornRecord, queue.keptTail(), kQueueAgain);
    return std::nullopt;
}

}  // namespace dye
