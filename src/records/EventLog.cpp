#include "EventLog.h"

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
    return toFixedField(line + QStringLiteral("\r\n"), kLogRecordLength);
}

QString logLine(const QDateTime& now, const QString& text) {
    return now.toString(QStringLiteral("yyyy/M/d H:mm:ss")) + QStringLiteral("   ") + text;
}

bool AppendLog(const QDir& workdir, const QDateTime& now, const QString& text, QString* error) {
    return appendLines(workdir, eventLogPath(workdir, now.date()), {logLine(now, text)}, error);
}

bool AppendWriteLog(const QDir& workdir, const QString& order, const QDateTime& now,
                    const QStringList& lines, QString* error) {
    return appendLines(workdir, writeLogPath(workdir, order, now.date()), lines, error);
}

}  // namespace dye
