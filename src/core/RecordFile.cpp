#include "RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dye {
namespace {

bool syncToDisk(QFile& file) {
    if (!file.flush()) return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

void syncDirectory(const QString& filePath) {
#ifdef Q_OS_UNIX
    const QByteArray dir = QFile::encodeName(QFileInfo(filePath).absolutePath());
    int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(filePath);
#endif
}

}  // namespace

QByteArray wholeRecord(QByteArrayView bytes, int length) {
    QByteArray r = bytes.first(std::min<qsizetype>(bytes.size(), length)).toByteArray();
    r.append(QByteArray(length - r.size(), '\0'));
    return r;
}

bool ensureFileExists(const QString& path, QString* error) {
    QFile file(path);
    if (file.exists()) return true;
    if (file.open(QIODevice::ReadWrite)) return true;
    if (error) *error = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
    return false;
}

RecordFile::RecordFile(QString path, int recordLength, QString scratchPath)
    : path_(std::move(path)), recordLength_(recordLength), scratchPath_(std::move(scratchPath)) {
    if (scratchPath_.isEmpty()) scratchPath_ = path_ + QStringLiteral(".tmp");
}

bool RecordFile::fail(const QString& what) {
    error_ = what;
    return false;
}

QByteArray RecordFile::fit(const QByteArray& record) const {
    if (record.size() == recordLength_) return record;
    QByteArray out = record.left(recordLength_);
    out.append(QByteArray(recordLength_ - out.size(), ' '));
    return out;
}

int RecordFile::count() {
    // One look at the file when it is there; an absent one is created first.
    const QFileInfo info(path_);
    if (info.exists()) return int(info.size() / recordLength_);
    ensureFileExists(path_, &error_);
    return int(QFileInfo(path_).size() / recordLength_);
}

QByteArray RecordFile::read(int n) {
    QList<QByteArray> one = readRange(n, n);
    return one.isEmpty() ? QByteArray(recordLength_, '\0') : one.front();
}

QList<QByteArray> RecordFile::readRange(int first, int last) {
    QList<QByteArray> out;
    if (first < 1 || last < first) return out;
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot open %1: %2").arg(path_, file.errorString()));
    }
    // The whole range in one read, cut into records.
    QByteArray bytes;
    if (file.isOpen() && file.seek(qint64(first - 1) * recordLength_))
        bytes = file.read(qint64(last - first + 1) * recordLength_);
    out.reserve(last - first + 1);
    for (int n = first; n <= last; ++n) {
        const qsizetype at = qsizetype(n - first) * recordLength_;
        const QByteArrayView record =
            at < bytes.size() ? QByteArrayView(bytes).sliced(at) : QByteArrayView();
        out.append(wholeRecord(record, recordLength_));
    }
    return out;
}

QList<QByteArray> RecordFile::readAll() {
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::ReadOnly)) {
        // What counting and reading the range report for a file that cannot be opened.
        const int total = count();
        if (!error_.isEmpty() || total == 0) return {};
        return readRange(1, total);
    }
    const int total = int(file.size() / recordLength_);
    QList<QByteArray> out;
    if (total == 0) return out;
    const QByteArray bytes = file.read(qint64(total) * recordLength_);
    out.reserve(total);
    for (int n = 0; n < total; ++n) {
        const qsizetype at = qsizetype(n) * recordLength_;
        const QByteArrayView record =
            at < bytes.size() ? QByteArrayView(bytes).sliced(at) : QByteArrayView();
        out.append(wholeRecord(record, recordLength_));
    }
    return out;
}

bool RecordFile::write(int n, const QByteArray& record) {
    if (n < 1) return fail(QStringLiteral("record %1 of %2 does not exist").arg(n).arg(path_));
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite))
        return fail(QStringLiteral("cannot open %1: %2").arg(path_, file.errorString()));
    const QByteArray bytes = fit(record);
    if (!file.seek(qint64(n - 1) * recordLength_) || file.write(bytes) != bytes.size() ||
        !file.flush())
        return fail(QStringLiteral("cannot write %1: %2").arg(path_, file.errorString()));
    return true;
}

bool RecordFile::append(const QByteArray& record) {
    return write(count() + 1, record);
}

bool RecordFile::remove(int k) {
    QFile source(path_);
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot open %1: %2").arg(path_, source.errorString()));
    const int total = int(source.size() / recordLength_);
    if (k < 1 || k > total)
        return fail(QStringLiteral("record %1 of %2 does not exist").arg(k).arg(path_));
    const QByteArray all = source.read(qint64(total) * recordLength_);
    source.close();
    if (all.size() != qint64(total) * recordLength_)
        return fail(QStringLiteral("cannot read %1").arg(path_));

    QByteArray compacted = all;
    compacted.remove(qsizetype(k - 1) * recordLength_, recordLength_);

    QFile scratch(scratchPath_);
    if (!scratch.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(
            QStringLiteral("cannot create %1: %2").arg(scratchPath_, scratch.errorString()));
    if (scratch.write(compacted) != compacted.size() || !syncToDisk(scratch)) {
        const QString why = scratch.errorString();
        scratch.close();
        QFile::remove(scratchPath_);
        return fail(QStringLiteral("cannot write %1: %2").arg(scratchPath_, why));
    }
    scratch.close();

    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(scratchPath_).toStdString(),
                            QFile::encodeName(path_).toStdString(), ec);
    if (ec) {
        QFile::remove(scratchPath_);
        return fail(QStringLiteral("cannot replace %1: %2")
                        .arg(path_, QString::fromStdString(ec.message())));
    }
    syncDirectory(path_);
    return true;
}

}  // namespace dye
