#include "MixFiles.h"

#include <QtEndian>

#include "MachineSettings.h"
#include "TextRecordFile.h"
#include "core/RecordFile.h"

namespace dye {
namespace {

constexpr int kMarkLength = 2;

bool report(bool ok, const QString& why, QString* error) {
    if (!ok && error) *error = why;
    return ok;
}

QByteArray markBytes(qint16 mark) {
    QByteArray bytes(kMarkLength, '\0');
    qToLittleEndian<qint16>(mark, bytes.data());
    return bytes;
}

}  // namespace

QString dyeMixFilePath(const QDir& workdir, const QString& folder, const QString& fileName) {
    QString prefix = trimSpaces(folder);
#ifndef Q_OS_WIN
    prefix.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    const QString path = prefix + fileName;
    return QDir::isAbsolutePath(path) ? path : workdir.filePath(path);
}

QString mixMarksPath(const QDir& workdir, const MachineSettings& settings) {
    return dyeMixFilePath(workdir, settings.dyeMixFolder(), QLatin1String(kMixMarksFileName));
}

bool loadDyeMix(const QString& path, QStringList& texts, QString* error) {
    TextRecordFile file(path, kDyeMixWidth);
    return report(file.load(kDyeMixEntryCount, texts), file.errorString(), error);
}

bool saveDyeMix(const QString& path, const QStringList& texts, QString* error) {
    TextRecordFile file(path, kDyeMixWidth);
    return report(file.saveRun(1, texts.mid(0, kDyeMixEntryCount)), file.errorString(), error);
}

bool loadMixMarks(const QString& path, QList<qint16>& marks, QString* error) {
    marks.clear();
    RecordFile file(path, kMarkLength);
    for (const QByteArray& record : file.readRange(1, kDyeMixEntryCount))
        marks.append(qFromLittleEndian<qint16>(record.constData()));
    return report(file.errorString().isEmpty(), file.errorString(), error);
}

bool writeMixMark(const QString& path, int entry, qint16 mark, QString* error) {
    if (entry < 1 || entry > kDyeMixEntryCount)
        return report(false, QStringLiteral("%1 has no entry %2").arg(path).arg(entry), error);
    return writeRecordRun(path, kMarkLength, entry, markBytes(mark), error);
}

bool resetMixMarks(const QString& path, QString* error) {
    return writeRecordRun(path, kMarkLength, 1, markBytes(0).repeated(kDyeMixEntryCount), error);
}

bool markDyeMixCode(const QDir& workdir, const MachineSettings& settings, const QString& code,
                    qint16 mark, QString* error) {
    QStringList mix;
    if (!loadDyeMix(dyeMixFilePath(workdir, settings.dyeMixFolder(), kDyeMixFileName), mix, error))
        return false;
    const QString marks = mixMarksPath(workdir, settings);
    for (int m = 1; m <= kDyeMixEntryCount; ++m)
        if (mix.value(m - 1) == code && !writeMixMark(marks, m, mark, error)) return false;
    return true;
}

bool resetBucketFlags(const QDir& workdir, QString* error) {
    return writeRecordRun(workdir.filePath(kBucketFlagsFileName), 1, 1,
                          QByteArray(kBucketFlagCount, '0'), error);
}

bool setBucketFlag(const QDir& workdir, int bucket, QString* error) {
    const QString path = workdir.filePath(kBucketFlagsFileName);
    if (bucket < 1 || bucket > kBucketFlagCount)
        return report(false, QStringLiteral("%1 has no bucket %2").arg(path).arg(bucket), error);
    return writeRecordRun(path, 1, bucket, QByteArrayLiteral("1"), error);
}

}  // namespace dye
