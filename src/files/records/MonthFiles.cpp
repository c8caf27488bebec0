#include "MonthFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

#include "DailyRecordFile.h"
#include "core/AnsiText.h"

namespace dye {
namespace {

bool fail(const QString& why, QString* error) {
    if (error) *error = why;
    return false;
}

bool blank(char c) {
    return c == ' ' || c == '\0';
}

}  // namespace

bool RecordMonth::load(const QString& path, QString* error) {
    *this = RecordMonth{};
    const QFileInfo info(path);
    if (!info.exists()) return fail(QStringLiteral("%1: no such file").arg(path), error);
    if (info.isDir())
        return fail(QStringLiteral("%1 is a folder, not a record file").arg(path), error);
    if (!info.isFile()) return fail(QStringLiteral("%1 is not a regular file").arg(path), error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()), error);
    // One read of the whole file: a month of records is a few megabytes.
    QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()), error);
    count_ = all.size() / DailyRecord::kLength;
    tail_ = all.size() - count_ * DailyRecord::kLength;
    bytes_ = std::move(all);
    return true;
}

RecordRows RecordMonth::allRows() const {
    RecordRows rows(count_);
    std::iota(rows.begin(), rows.end(), qsizetype(0));
    return rows;
}

QByteArrayView RecordMonth::bytes(qsizetype row) const {
    return QByteArrayView(bytes_).sliced(row * DailyRecord::kLength, DailyRecord::kLength);
}

QByteArrayView RecordMonth::field(qsizetype row, int offset, int width) const {
    const QByteArrayView f = bytes(row).sliced(offset, width);
    qsizetype begin = 0;
    qsizetype end = f.size();
    while (begin < end && blank(f[begin])) ++begin;
    while (end > begin && blank(f[end - 1])) --end;
    return f.sliced(begin, end - begin);
}

QString RecordMonth::text(qsizetype row, int offset, int width) const {
    return AnsiCodePage::decode(field(row, offset, width));
}

DailyRecord RecordMonth::record(qsizetype row) const {
    return DailyRecord::fromBytes(bytes(row));
}

QList<DailyRecord> RecordMonth::records(const RecordRows& rows) const {
    QList<DailyRecord> out;
    out.reserve(rows.size());
    for (qsizetype row : rows) out.append(record(row));
    return out;
}

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

}  // namespace dye
