#include "MonthFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include "DailyRecordFile.h"

namespace dye {
namespace {

bool fail(const QString& why, QString* error) {
    if (error) *error = why;
    return false;
}

}  // namespace

QStringList recordFileNames(const QDir& folder) {
    QStringList names;
    const QFileInfoList entries =
        folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (entry.isFile()) names << entry.fileName();
    std::sort(names.begin(), names.end());
    return names;
}

QString monthFileArgument(const QDir& workdir, const QString& argument) {
    static const QRegularExpression month(QStringLiteral("^\\d{4}(0[1-9]|1[0-2])$"));
    if (!month.match(argument).hasMatch()) return argument;
    return workdir.filePath(
        QStringLiteral("%1/DATE_%2.txt").arg(QLatin1String(kDailyRecordFolder), argument));
}

bool loadRecordMonth(const QString& path, RecordMonth& month, QString* error) {
    month = RecordMonth{};
    const QFileInfo info(path);
    if (!info.exists()) return fail(QStringLiteral("%1: no such file").arg(path), error);
    if (info.isDir())
        return fail(QStringLiteral("%1 is a folder, not a record file").arg(path), error);
    if (!info.isFile()) return fail(QStringLiteral("%1 is not a regular file").arg(path), error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()), error);
    // One read of the whole file: a month of records is a few megabytes.
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()), error);
    const qsizetype count = all.size() / DailyRecord::kLength;
    month.records.reserve(count);
    for (qsizetype n = 0; n < count; ++n)
        month.records.append(DailyRecord::fromBytes(
            QByteArrayView(all).sliced(n * DailyRecord::kLength, DailyRecord::kLength)));
    month.tailBytes = all.size() - count * DailyRecord::kLength;
    return true;
}

}  // namespace dye
