// The checks made on the station's files: each job recorded once with its
// lines within tolerance or marked, its water, what was poured for it, the
// odd jobs set aside with a word, no job lost, the event log's time.
#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/Station.h"
#include "core/AnsiText.h"
#include "core/Val.h"
#include "files/jobs/JobFile.h"
#include "files/records/DailyRecordFile.h"
#include "files/records/EventLog.h"
#include "run/JobJournal.h"
#include "soak/SoakChecks.h"

namespace dye::soak {
namespace {

bool sameJob(const DailyRecord& r, const JobRecord& j) {
    return r.OrderNo == j.OrderNo.trimmed() && r.BucketNo == j.BucketNo.trimmed() &&
           std::memcmp(&r.QueuedAt, &j.QueuedAt, sizeof(double)) == 0;
}

// A weight as the record keeps it is a plain number.
bool plainNumber(const QString& text, double* value) {
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok;
}

}  // namespace

QList<DailyRecord> SoakChecks::records() const {
    QList<DailyRecord> all;
    const QDir data(workdir_.filePath(QString::fromLatin1(kDailyRecordFolder)));
    for (const QString& name :
         data.entryList({QStringLiteral("DATE_*.txt")}, QDir::Files, QDir::Name)) {
        if (name.contains(QStringLiteral("TORN"))) continue;
        QList<DailyRecord> month;
        readDailyRecords(data.filePath(name), month);
        all += month;
    }
    return all;
}

QStringList SoakChecks::logLines() const {
    QStringList lines;
    const QDir log(workdir_.filePath(QString::fromLatin1(kLogFolder)));
    for (const QString& name :
         log.entryList({QStringLiteral("*log.txt")}, QDir::Files, QDir::Name)) {
        if (name.startsWith(QStringLiteral("Write-"))) continue;
        QFile file(log.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray all = file.readAll();
        for (qsizetype at = 0; at < all.size(); at += kLogRecordLength)
            lines << fromFixedField(all.mid(at, kLogRecordLength)).trimmed();
        lines << QString();  // the end of one day's file
    }
    return lines;
}

QStringList SoakChecks::jobLogLines(const QString& order) const {
    // From each "<start>" of the job to the next "<start>" of any job.
    QStringList out;
    bool in = false;
    const QString start = QStringLiteral("<start>");
    for (const QString& line : logLines()) {
        if (line.contains(start)) in = line.contains(start + order + QStringLiteral("< start >"));
        if (in || line.contains(order)) out << line;
    }
    return out;
}

void SoakChecks::checkFiles(qint64 ms, Station& st, const Poured& poured) {
    const QList<DailyRecord> recs = records();
    JobFile queue = jobQueueFile(workdir_);
    const QList<JobRecord> waiting = queue.records();
    JobFile rejectedFile(workdir_.filePath(QString::fromLatin1(kJobQueueRejectedName)),
                         workdir_.filePath(QStringLiteral("soak-scratch.txt")));
    const QList<JobRecord> rejected = rejectedFile.records();
    QStringList log;
    for (Tracked& t : jobs_) {
        int count = 0;
        for (const DailyRecord& r : recs) count += sameJob(r, t.job.record) ? 1 : 0;
        if (count > 0 && !t.recordChecked) {
            t.recordChecked = true;
            t.recordedAt = ms;
            checkRecord(t, recs, poured);
        }
        if (count > 1) {
            fail(QStringLiteral("job recorded more than once"),
                 QStringLiteral("%1 has %2 records").arg(t.job.order()).arg(count));
            t.recordedAt = -2;  // said once
        }
        // The end of a job removes it from the queue right after its record.
        const bool stillQueued =
            std::any_of(waiting.begin(), waiting.end(),
                        [&](const JobRecord& q) { return q.OrderNo.trimmed() == t.job.order(); });
        if (t.recordedAt >= 0 && stillQueued && ms - t.recordedAt > 30'000 &&
            t.job.order() != onMachine_) {
            fail(QStringLiteral("recorded job still queued"),
                 QStringLiteral("%1 was recorded %2 s ago and is still in the queue")
                     .arg(t.job.order())
                     .arg((ms - t.recordedAt) / 1000));
            t.recordedAt = -2;
        }
        const bool setAside =
            std::any_of(rejected.begin(), rejected.end(),
                        [&](const JobRecord& q) { return q.OrderNo.trimmed() == t.job.order(); });
        if (setAside && !t.rejectChecked) {
            t.rejectChecked = true;
            ++setAsideJobs_;
            if (log.isEmpty()) log = logLines();
            const bool said = !log.filter(t.job.order())
                                   .filter(QRegularExpression(
                                       QStringLiteral("REJECTED|set aside|moved aside|refused"),
                                       QRegularExpression::CaseInsensitiveOption))
                                   .isEmpty();
            if (!t.job.setAside && !t.job.maySetAside)
                fail(QStringLiteral("a job that can be dispensed was set aside"), t.job.describe());
            else if (!said)
                fail(QStringLiteral("odd job set aside without a word"), t.job.describe());
            if (count > 0)
                fail(QStringLiteral("job both recorded and set aside"), t.job.describe());
        }
    }
    Q_UNUSED(st);
}

void SoakChecks::checkRecord(Tracked& t, const QList<DailyRecord>& recs, const Poured& poured) {
    const SoakJob& job = t.job;
    const DailyRecord* rec = nullptr;
    for (const DailyRecord& r : recs)
        if (sameJob(r, job.record)) rec = &r;
    ++recordedJobs_;
    if (job.setAside) {
        fail(QStringLiteral("odd input dosed: ") + job.odd, job.describe());
        return;
    }
    const QStringList log = jobLogLines(job.order());
    for (size_t k = 0; k < job.lineSlots.size(); ++k) {
        const int slot = job.lineSlots[k];
        const QString code = job.record.Code[size_t(slot)];
        const QString recipe = job.record.Weight[size_t(slot)];
        ++recordedLines_;
        if (rec->Code[k] != code || rec->RecipeWeight[k] != recipe) {
            fail(QStringLiteral("record rows differ from the queued job"),
                 QStringLiteral("%1 row %2: recorded %3 %4, queued %5 %6")
                     .arg(job.order())
                     .arg(k + 1)
                     .arg(rec->Code[k], rec->RecipeWeight[k], code, recipe));
            continue;
        }
        double actual = 0;
        const bool number = plainNumber(rec->ActualWeight[k], &actual);
        const double want = recipe.toDouble();
        if (number && actual > 0 && std::abs(actual - want) <= tolerance() + 0.005) continue;
        // A line off its target must say so in the record (not a plain
        // number) or in the event log (a line naming the order and the row).
        const bool marked =
            !number ||
            !log
                 .filter(QRegularExpression(
                     QStringLiteral("row %1\\b.*(tolerance|short|over|under|marked)").arg(k + 1),
                     QRegularExpression::CaseInsensitiveOption))
                 .isEmpty();
        if (marked) continue;
        const bool odd = job.odd == QStringLiteral("blank row");
        fail(actual <= 0 ? QStringLiteral("line recorded with nothing in it")
                         : QStringLiteral("line out of tolerance, not marked"),
             QStringLiteral("%1 row %2 %3: recipe %4, actual %5, tolerance %6%7")
                 .arg(job.order())
                 .arg(k + 1)
                 .arg(code, recipe, rec->ActualWeight[k])
                 .arg(tolerance())
                 .arg(odd ? QStringLiteral(" (job with a blank row)") : QString()));
    }
    // The water.
    // The actual water is what went into the bucket (base water included),
    // its number first; " OFF" after it marks water off its amount.
    const double water = job.record.WaterAmount.toDouble();
    const double gotWater = Val(rec->ActualWater);
    const bool markedOff = rec->ActualWater.endsWith(QLatin1String(" OFF"));
    if (std::abs(gotWater - water) > kWaterBoundGrams + kWaterBoundShare * water && !markedOff &&
        log.filter(QRegularExpression(QStringLiteral("water"),
                                      QRegularExpression::CaseInsensitiveOption))
            .filter(QRegularExpression(
                QStringLiteral("off its amount|short|over|not given|missing|flag"),
                QRegularExpression::CaseInsensitiveOption))
            .isEmpty())
        fail(QStringLiteral("water off its amount, not flagged"),
             QStringLiteral("%1: water %2 asked, %3 recorded")
                 .arg(job.order(), job.record.WaterAmount, rec->ActualWater));
    // What the valves carrying each row's code let through for the job,
    // against the row's actual weight in the record. A row cut short by a
    // power cut and metered again in full says so in the event log.
    for (size_t k = 0; k < job.lineSlots.size(); ++k) {
        const QString code = job.record.Code[size_t(job.lineSlots[k])];
        double pouredForRow = 0;
        for (int v : machine_.valvesOf(code))
            pouredForRow += poured.byValve[size_t(v - 1)] - t.pouredAtStart[size_t(v - 1)];
        double actual = 0;
        plainNumber(rec->ActualWeight[k], &actual);
        const double slack = 1.0 + tolerance() + 0.02 * actual;
        const bool again = !log.filter(QStringLiteral("row %1").arg(k + 1))
                                .filter(QStringLiteral("metered in full"))
                                .isEmpty();
        if (pouredForRow > actual + slack && !again)
            fail(QStringLiteral("more poured than recorded"),
                 QStringLiteral("%1 row %2 %3: the valves let %4 through, the record holds %5")
                     .arg(job.order())
                     .arg(k + 1)
                     .arg(code)
                     .arg(pouredForRow, 0, 'f', 1)
                     .arg(rec->ActualWeight[k]));
        else if (pouredForRow < actual - slack)
            fail(QStringLiteral("less poured than recorded"),
                 QStringLiteral("%1 row %2 %3: the valves let %4 through, the record holds %5")
                     .arg(job.order())
                     .arg(k + 1)
                     .arg(code)
                     .arg(pouredForRow, 0, 'f', 1)
                     .arg(rec->ActualWeight[k]));
    }
}

bool SoakChecks::allHandled(Station& st) {
    if (!st.state.job.current().identity.order.trimmed().isEmpty() || st.state.wash.WashPhase != 0)
        return false;
    if (jobQueueFile(workdir_).count() != 0) return false;
    checkFiles(lastMs_, st, Poured{});
    for (const Tracked& t : jobs_)
        if (!t.recordChecked && !t.rejectChecked && !t.deleted) return false;
    return true;
}

void SoakChecks::finish(Station& st, bool idle) {
    const QList<DailyRecord> recs = records();
    const QList<JobRecord> waiting = jobQueueFile(workdir_).records();
    JobFile rejectedFile(workdir_.filePath(QString::fromLatin1(kJobQueueRejectedName)),
                         workdir_.filePath(QStringLiteral("soak-scratch.txt")));
    const QList<JobRecord> rejected = rejectedFile.records();
    for (const Tracked& t : jobs_) {
        const bool recorded = std::any_of(recs.begin(), recs.end(), [&](const DailyRecord& r) {
            return sameJob(r, t.job.record);
        });
        auto in = [&](const QList<JobRecord>& list) {
            return std::any_of(list.begin(), list.end(), [&](const JobRecord& q) {
                return q.OrderNo.trimmed() == t.job.order();
            });
        };
        if (!recorded && !in(waiting) && !in(rejected) && !t.deleted)
            fail(QStringLiteral("job lost"),
                 QStringLiteral("%1 is neither recorded, queued nor set aside")
                     .arg(t.job.describe()));
    }
    // The event log's time never goes back.
    QDateTime last;
    for (const QString& line : logLines()) {
        if (line.isEmpty()) {
            last = QDateTime();
            continue;
        }
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2) continue;
        const QDateTime at = QDateTime::fromString(words[0] + QLatin1Char(' ') + words[1],
                                                   QStringLiteral("yyyy/M/d H:mm:ss"));
        if (!at.isValid()) continue;
        if (last.isValid() && at < last) {
            fail(QStringLiteral("event log time goes back"),
                 QStringLiteral("%1 after %2").arg(line, last.toString(Qt::ISODate)));
            break;
        }
        last = at;
    }
    if (idle && QFile::exists(JobJournal(workdir_).path()))
        fail(QStringLiteral("journal left with nothing on the machine"), stateOf(st));
}

}  // namespace dye::soak
