#include "DailyRecordFile.h"

#include <QFile>

#include "RecordFolder.h"
#include "core/RecordFile.h"

namespace dye {
namespace {

bool fail(const QString& why, QString* error) {
    if (error) *error = why;
    return false;
}

}  // namespace

QString dailyRecordPath(const QDir& workdir, const QDate& day) {
    return workdir.filePath(
        QStringLiteral("%1/DATE_%2.txt")
            .arg(QLatin1String(kDailyRecordFolder), day.toString(QStringLiteral("yyyyMM"))));
}

QString tornDailyRecordPath(const QDir& workdir, const QDate& day) {
    return workdir.filePath(
        QStringLiteral("%1/DATE_%2_TORN.txt")
            .arg(QLatin1String(kDailyRecordFolder), day.toString(QStringLiteral("yyyyMM"))));
}

bool AppendDailyRecord(const QDir& workdir, const DailyRecord& record, QString* error,
                       QString* kept) {
    const QDateTime finished = record.finishTime();
    if (!finished.isValid())
        return fail(QStringLiteral("the record of order %1 has no finish time").arg(record.OrderNo),
                    error);
    if (!ensureRecordFolder(workdir, QLatin1String(kDailyRecordFolder), error)) return false;
    RecordFile file(dailyRecordPath(workdir, finished.date()), DailyRecord::kLength);
    file.setAsideFile(tornDailyRecordPath(workdir, finished.date()));
    file.setBlankRecord(DailyRecord{}.toBytes());
    // On the disk before the job leaves the queue: a power cut must not
    // take the record of a job that is no longer queued.
    file.setSynced(true);
    if (!file.append(record.toBytes())) return fail(file.errorString(), error);
    if (kept && !file.keptTail().isEmpty())
        *kept = QStringLiteral("a partial record of %1 bytes at the end of %2 was moved to %3")
                    .arg(file.keptTail().size())
                    .arg(file.path(), tornDailyRecordPath(workdir, finished.date()));
    return true;
}

bool readDailyRecords(const QString& path, QList<DailyRecord>& records, QString* error) {
    records.clear();
    if (const QString why = notAFileReason(path); !why.isEmpty()) return fail(why, error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()), error);
    const qint64 count = file.size() / DailyRecord::kLength;
    for (qint64 n = 0; n < count; ++n) {
        const QByteArray bytes = file.read(DailyRecord::kLength);
        if (bytes.size() != DailyRecord::kLength)
            return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()), error);
        records.append(DailyRecord::fromBytes(bytes));
    }
    return true;
}

}  // namespace dye
