#include "EventLog.h"

#include <QFile>

#include "RecordFolder.h"
#include "core/AnsiText.h"
#include "core/RecordFile.h"

namespace dye {
namespace {

QString dayStamp(const QDate& day) {
    return QStringLiteral("%1%2%3").arg(day.year()).arg(day.month()).arg(day.day());
}

bool appendLines(const QDir& workdir, const QString& path, const QStringList& lines,
                 QString* error) {
    if (!ensureRecordFolder(workdir, QLatin1String(kLogFolder), error)) return false;
    RecordFile file(path, kLogRecordLength);
    for (const QString& line : lines) {
        if (!file.append(logRecord(line))) {
            if (error) *error = file.errorString();
            return false;
        }
    }
    return true;
}

}  // namespace

QString eventLogPath(const QDir& workdir, const QDate& day) {
    return workdir.filePath(
        QStringLiteral("%1/%2log.txt").arg(QLatin1String(kLogFolder), dayStamp(day)));
}

QString writeLogPath(const QDir& workdir, const QString& order, const QDate& day) {
    QString name = order.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return workdir.filePath(QStringLiteral("%1/Write-%2-%3log.txt")
                                .arg(QLatin1String(kLogFolder), name, dayStamp(day)));
}

QByteArray logRecord(const QString& line) {
    const QByteArray record = toFixedField(line + QStringLiteral("\r\n"), kLogRecordLength);
    if (record.contains("\r\n")) return record;
    // Too long for its record: the line is cut so that it keeps its line end
    // and does not run into the next one.
    return toFixedField(line, kLogRecordLength - 2) + QByteArrayLiteral("\r\n");
}

QString logLine(const QDateTime& now, const QString& text) {
    return now.toString(QStringLiteral("yyyy/M/d H:mm:ss")) + QStringLiteral("   ") + text;
}

QDateTime lastLoggedTime(const QDir& workdir, const QDate& day) {
    QDateTime newest;
    for (const QDate& d : {day, day.addDays(1)}) {
        QFile file(eventLogPath(workdir, d));
        const qint64 records = file.size() / kLogRecordLength;
        if (records == 0 || !file.open(QIODevice::ReadOnly)) continue;
        if (!file.seek((records - 1) * kLogRecordLength)) continue;
        const QStringList words =
            fromFixedField(file.read(kLogRecordLength)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2) continue;
        const QDateTime at = QDateTime::fromString(words[0] + QLatin1Char(' ') + words[1],
                                                   QStringLiteral("yyyy/M/d H:mm:ss"));
        if (at.isValid() && (!newest.isValid() || at > newest)) newest = at;
    }
    return newest;
}

bool AppendLog(const QDir& workdir, const QDateTime& now, const QString& text, QString* error) {
    return appendLines(workdir, eventLogPath(workdir, now.date()), {logLine(now, text)}, error);
}

bool AppendWriteLog(const QDir& workdir, const QString& order, const QDateTime& now,
                    const QStringList& lines, QString* error) {
    return appendLines(workdir, writeLogPath(workdir, order, now.date()), lines, error);
}

}  // namespace dye
