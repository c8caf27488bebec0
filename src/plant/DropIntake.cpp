#include "plant/DropIntake.h"

#include <QFile>
#include <QFileInfo>

#include "core/AnsiText.h"
#include "jobs/JobFile.h"

namespace dye {

namespace {

constexpr int kRecordLength = 932;
constexpr int kAtStatus = 36;
constexpr int kStatusWidth = 6;
constexpr int kItems = 15;
constexpr int kAtCodes = 124;
constexpr int kAtChecks = 424;
constexpr int kAtAmounts = 544;

bool writeStatus(QFile& f, qint64 record, const QByteArray& status) {
    return f.seek(record * kRecordLength + kAtStatus) && f.write(status) == kStatusWidth &&
           f.flush();
}

}  // namespace

QString dropFilePath(const QString& folderText, const QDir& workdir, const QDate& month) {
    QString path = folderText.trimmed() + QStringLiteral("\\G") + month.toString(u"yyyyMM") +
                   QStringLiteral(".666");
    path.replace(u'\\', u'/');
    return QDir::cleanPath(workdir.absoluteFilePath(path));
}

DropIntakeResult takeDropRecord(const QString& path, const QString& identifier,
                                const QDir& workdir) {
    DropIntakeResult out;
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        out.problem = QStringLiteral("the intake folder of %1 is not there").arg(path);
        return out;
    }
    QFile f(path);
    if (!f.exists()) return out;
    if (!f.open(QIODevice::ReadWrite)) {
        out.problem = QStringLiteral("%1 cannot be opened: %2").arg(path, f.errorString());
        return out;
    }
    const qint64 count = f.size() / kRecordLength;  // whole records only
    for (qint64 r = 0; r < count; ++r) {
        if (!f.seek(r * kRecordLength)) break;
        const QByteArray record = f.read(kRecordLength);
        if (record.size() != kRecordLength) break;
        if (getField(record, 0, 30) != identifier ||
            getField(record, kAtStatus, kStatusWidth) == QStringLiteral("A_OK"))
            continue;
        out.found = true;
        int n = 0;
        for (int k = 0; k < kItems; ++k) {
            const double check = getField(record, kAtChecks + 8 * k, 8).toDouble();
            const double amount = getField(record, kAtAmounts + 9 * k, 9).toDouble();
            if (check == 0 || amount <= 0) continue;
            if (n % JobRecord::kLines == 0) {
                JobRecord job;
                job.OrderNo = identifier;
                out.jobs << job;
            }
            JobRecord& job = out.jobs.last();
            job.Code[size_t(n % JobRecord::kLines)] = getField(record, kAtCodes + 20 * k, 20);
            job.Weight[size_t(n % JobRecord::kLines)] = QString::number(amount * 1000);
            ++n;
        }
        const QByteArray old = record.mid(kAtStatus, kStatusWidth);
        if (!writeStatus(f, r, toFixedField(QStringLiteral("A_OK"), kStatusWidth))) {
            out.problem = QStringLiteral("%1 not marked taken: %2").arg(path, f.errorString());
            out.jobs.clear();
            return out;
        }
        JobFile queue = jobQueueFile(workdir);
        for (const JobRecord& job : out.jobs) {
            if (queue.append(job)) continue;
            out.problem = QStringLiteral("%1 not queued: %2").arg(identifier, queue.errorString());
            // Nothing of it queued: the record waits again.
            if (&job == &out.jobs.first()) writeStatus(f, r, old);
            break;
        }
        return out;
    }
    return out;
}

}  // namespace dye
