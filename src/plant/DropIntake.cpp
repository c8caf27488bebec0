#include "plant/DropIntake.h"

#include <QFile>
#include <QFileInfo>

#include "core/AnsiText.h"
#include "files/jobs/RecipeCheck.h"
#include "files/settings/MachineSettings.h"
#include "plant/ClaimQueue.h"
#include "plant/PlantClaims.h"
#include "plant/PlantLineCheck.h"

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

// The bucket of a drop job: the name of place 0, where the bucket move
// sends a job whose bucket names no place. Types 1, 3 and 4 move the bucket
// and need that name; on the others a blank one is kept.
QString dropBucket(const MachineSettings& settings, QString* problem) {
    const QString bucket = settings.teachSlot(1).name.trimmed();
    const int type = settings.machineType();
    if ((type == 1 || type == 3 || type == 4) &&
        !bucketProblem(bucket, settings, kEnglish).isEmpty())
        *problem = QStringLiteral(
                       "its jobs go to place 0, which has no bucket name on machine type %1; "
                       "name the first place on the position screen")
                       .arg(type);
    return bucket;
}

}  // namespace

QString dropFilePath(const QString& folderText, const QDir& workdir, const QDate& month) {
    QString path = folderText.trimmed() + QStringLiteral("\\G") + month.toString(u"yyyyMM") +
                   QStringLiteral(".666");
    path.replace(u'\\', u'/');
    return QDir::cleanPath(workdir.absoluteFilePath(path));
}

DropIntakeResult takeDropRecord(const QString& path, const QString& identifier, const QDir& workdir,
                                const MachineSettings& settings, double queuedAt) {
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
        QString why;
        const QString bucket = dropBucket(settings, &why);
        int n = 0;
        for (int k = 0; k < kItems; ++k) {
            const double check = getField(record, kAtChecks + 8 * k, 8).toDouble();
            const double amount = getField(record, kAtAmounts + 9 * k, 9).toDouble();
            if (check == 0 || amount <= 0) continue;
            if (n % JobRecord::kLines == 0) {
                JobRecord job;
                job.OrderNo = identifier;
                job.BucketNo = bucket;
                out.jobs << job;
            }
            JobRecord& job = out.jobs.last();
            const QString code = getField(record, kAtCodes + 20 * k, 20);
            const QString weight = QString::number(amount * 1000, 'g', 15);
            if (why.isEmpty()) why = plantLineProblem(n + 1, code, weight, settings);
            job.Code[size_t(n % JobRecord::kLines)] = code;
            job.Weight[size_t(n % JobRecord::kLines)] = weight;
            ++n;
        }
        if (why.isEmpty())
            why = fieldProblem(QStringLiteral("the order"), identifier, JobRecord::kOrderNoWidth,
                               kEnglish);
        if (!why.isEmpty()) {
            out.problem = QStringLiteral("drop record %1 not taken: %2; it stays in %3 untaken")
                              .arg(identifier, why, path);
            out.jobs.clear();
            return out;
        }
        // The jobs of one record a second apart: each is told from the others.
        for (qsizetype k = 0; k < out.jobs.size(); ++k)
            out.jobs[k].QueuedAt = queuedAt + double(k) / 86400.0;
        const QByteArray old = record.mid(kAtStatus, kStatusWidth);
        // The claim's entry first: a kill between the mark and the queue
        // leaves it for the next start.
        const PlantClaims claims(workdir);
        const PlantClaim entry{PlantClaim::newId(),
                               PlantClaim::Kind::Drop,
                               {path, QString::number(r), identifier, QString::fromLatin1(old)},
                               out.jobs};
        QString error;
        if (!claims.add(entry, &error)) {
            out.problem = QStringLiteral("drop record %1 not taken: its claim cannot be kept (%2)")
                              .arg(identifier, error);
            out.jobs.clear();
            return out;
        }
        if (!writeStatus(f, r, toFixedField(QStringLiteral("A_OK"), kStatusWidth))) {
            out.problem = QStringLiteral("%1 not marked taken: %2").arg(path, f.errorString());
            out.jobs.clear();
            claims.drop(entry.id);
            return out;
        }
        f.close();
        const int queued = appendAllOrNone(workdir, out.jobs, &error);
        if (queued == out.jobs.size()) {
            claims.drop(entry.id);  // one left is found queued at the next start
            return out;
        }
        out.problem = QStringLiteral("%1 not queued: %2").arg(identifier, error);
        // Nothing of it queued: the record waits again; partly queued, the
        // next start queues the rest.
        if (queued == 0 && writeDropStatus(path, r, old)) claims.drop(entry.id);
        if (queued == 0) out.jobs.clear();
        return out;
    }
    return out;
}

}  // namespace dye
