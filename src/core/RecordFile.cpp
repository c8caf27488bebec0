#include "RecordFile.h"

#include "FileSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace dye {
namespace {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

QByteArray wholeRecord(QByteArrayView bytes, int length) {
    QByteArray r = bytes.first(std::min<qsizetype>(bytes.size(), length)).toByteArray();
    r.append(QByteArray(length - r.size(), '\0'));
    return r;
}

QString notAFileReason(const QString& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(nativePath(path), ec);
    if (ec || st.type() == fs::file_type::not_found || st.type() == fs::file_type::regular)
        return {};
    const char* what = "not a file";
    switch (st.type()) {
        case fs::file_type::directory:
            what = "a folder";
            break;
        case fs::file_type::block:
        case fs::file_type::character:
            what = "a device";
            break;
        case fs::file_type::fifo:
            what = "a pipe";
            break;
        case fs::file_type::socket:
            what = "a socket";
            break;
        default:
            break;
    }
    return QStringLiteral("%1 is %2, not a file of records").arg(path, QLatin1String(what));
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

// Nothing but a file is ever opened: reading a pipe would block the tick, and
// a folder's size would count as records.
bool RecordFile::usable() {
    const QString why = notAFileReason(path_);
    return why.isEmpty() || fail(why);
}

QByteArray RecordFile::fit(const QByteArray& record) const {
    if (record.size() == recordLength_) return record;
    QByteArray out = record.left(recordLength_);
    out.append(QByteArray(recordLength_ - out.size(), ' '));
    return out;
}

// The partial record's own bytes first, then the rest of the blank record.
QByteArray RecordFile::completed(const QByteArray& tail) const {
    const QByteArray blank =
        blank_.size() == recordLength_ ? blank_ : QByteArray(recordLength_, '\0');
    return tail.left(recordLength_) + blank.mid(tail.size());
}

int RecordFile::count() {
    if (!usable()) return 0;
    // One look at the file when it is there; an absent one is created first.
    const QFileInfo info(path_);
    if (info.exists()) return int(info.size() / recordLength_);
    ensureFileExists(path_, &error_);
    return int(QFileInfo(path_).size() / recordLength_);
}

QByteArray RecordFile::tail() {
    if (!usable()) return {};
    QFile file(path_);
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot open %1: %2").arg(path_, file.errorString()));
        return {};
    }
    const qint64 whole = file.size() / recordLength_ * recordLength_;
    if (whole == file.size()) return {};
    if (!file.seek(whole)) return {};
    return file.readAll();
}

QByteArray RecordFile::read(int n) {
    QList<QByteArray> one = readRange(n, n);
    return one.isEmpty() ? QByteArray(recordLength_, '\0') : one.front();
}

QList<QByteArray> RecordFile::readRange(int first, int last) {
    QList<QByteArray> out;
    if (first < 1 || last < first) return out;
    QFile file(path_);
    if (usable() && !file.open(QIODevice::ReadWrite) && !file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot open %1: %2").arg(path_, file.errorString()));
    }
    // The whole range in one read, cut into records.
    QByteArray bytes;
    if (file.isOpen() && file.seek(qint64(first - 1) * recordLength_))
        bytes = file.read(qint64(last - first + 1) * recordLength_);
    return records(bytes, last - first + 1);
}

QList<QByteArray> RecordFile::readAll() {
    if (!usable()) return {};
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::ReadOnly)) {
        // What counting and reading the range report for a file that cannot be opened.
        const int total = count();
        if (!error_.isEmpty() || total == 0) return {};
        return readRange(1, total);
    }
    const int total = int(file.size() / recordLength_);
    if (total == 0) return {};
    return records(file.read(qint64(total) * recordLength_), total);
}

// `n` records cut from `bytes`; what `bytes` lacks reads as blank.
QList<QByteArray> RecordFile::records(const QByteArray& bytes, int n) const {
    QList<QByteArray> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        const qsizetype at = qsizetype(i) * recordLength_;
        const QByteArrayView record =
            at < bytes.size() ? QByteArrayView(bytes).sliced(at) : QByteArrayView();
        out.append(wholeRecord(record, recordLength_));
    }
    return out;
}

bool RecordFile::writeAt(qint64 offset, const QByteArray& bytes) {
    QFile file(path_);
    const bool created = !file.exists();
    if (!file.open(QIODevice::ReadWrite))
        return fail(QStringLiteral("cannot open %1: %2").arg(path_, file.errorString()));
    if (!file.seek(offset) || file.write(bytes) != bytes.size() ||
        !(synced_ ? syncToDisk(file) : file.flush()))
        return fail(QStringLiteral("cannot write %1: %2").arg(path_, file.errorString()));
    if (synced_ && created) syncDirectory(path_);
    return true;
}

bool RecordFile::write(int n, const QByteArray& record) {
    if (n < 1) return fail(QStringLiteral("record %1 of %2 does not exist").arg(n).arg(path_));
    if (!usable()) return false;
    return writeAt(qint64(n - 1) * recordLength_, fit(record));
}

bool RecordFile::append(const QByteArray& record) {
    keptTail_.clear();
    error_.clear();
    qint64 end = qint64(count()) * recordLength_;
    if (!error_.isEmpty()) return false;
    const QByteArray partial = tail();
    if (!error_.isEmpty()) return false;
    if (!partial.isEmpty()) {
        // Moved aside, the new record overwrites it (a record is longer than
        // any partial one); completed in place, it becomes a whole record.
        if (!asidePath_.isEmpty()) {
            if (!moveAside(partial)) return false;
        } else {
            if (!writeAt(end, completed(partial))) return false;
            end += recordLength_;
        }
        keptTail_ = partial;
    }
    return writeAt(end, fit(record));
}

bool RecordFile::readBytes(QByteArray& all) {
    all.clear();
    if (!usable()) return false;
    QFile source(path_);
    if (!source.exists()) return true;
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot open %1: %2").arg(path_, source.errorString()));
    all = source.readAll();
    if (all.size() != source.size()) return fail(QStringLiteral("cannot read %1").arg(path_));
    return true;
}

bool RecordFile::moveAside(const QByteArray& tail) {
    RecordFile aside(asidePath_, recordLength_);
    aside.setBlankRecord(blank_);
    aside.setSynced(true);
    if (aside.append(completed(tail))) return true;
    return fail(QStringLiteral("the partial record at the end of %1 cannot be kept in %2: %3")
                    .arg(path_, asidePath_, aside.errorString()));
}

bool RecordFile::remove(int k) {
    keptTail_.clear();
    error_.clear();
    QByteArray all;
    if (!readBytes(all)) return false;
    const qint64 whole = all.size() / recordLength_ * recordLength_;
    if (k < 1 || k > whole / recordLength_)
        return fail(QStringLiteral("record %1 of %2 does not exist").arg(k).arg(path_));
    const QByteArray partial = all.mid(whole);
    all.truncate(whole);
    all.remove(qsizetype(k - 1) * recordLength_, recordLength_);
    if (!partial.isEmpty()) {
        if (!asidePath_.isEmpty()) {
            if (!moveAside(partial)) return false;
        } else {
            all.append(partial);
        }
        keptTail_ = partial;
    }
    return replaceWith(all);
}

bool RecordFile::setAsideTail() {
    keptTail_.clear();
    error_.clear();
    if (asidePath_.isEmpty()) return fail(QStringLiteral("%1 has no aside file").arg(path_));
    QByteArray all;
    if (!readBytes(all)) return false;
    const qint64 whole = all.size() / recordLength_ * recordLength_;
    if (whole == all.size()) return true;
    const QByteArray partial = all.mid(whole);
    if (!moveAside(partial)) return false;
    keptTail_ = partial;
    all.truncate(whole);
    return replaceWith(all);
}

bool RecordFile::replaceWith(const QByteArray& content) {
    QString error;
    return writeFileAtomically(path_, content, &error, scratchPath_) || fail(error);
}

}  // namespace dye
