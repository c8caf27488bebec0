#include "JobFile.h"

#include <algorithm>

#include "core/AnsiText.h"
#include "files/jobs/BackgroundRemoval.h"

namespace dye {

JobFile::JobFile(QString path, QString scratchPath, QString rejectedPath)
    : path_(std::move(path)),
      scratchPath_(std::move(scratchPath)),
      rejectedPath_(std::move(rejectedPath)) {}

RecordFile JobFile::file() const {
    BackgroundRemoval::wait(path_);
    return fileNow();
}

RecordFile JobFile::fileNow() const {
    RecordFile f(path_, JobRecord::kLength, scratchPath_);
    f.setAsideFile(rejectedPath_);
    f.setBlankRecord(JobRecord{}.toBytes());
    f.setSynced(true);
    return f;
}

bool JobFile::fail(const QString& why) {
    error_ = why;
    return false;
}

// Takes over what a write through `f` found at the end of the file and why it
// failed.
bool JobFile::done(RecordFile& f, bool ok) {
    keptTail_ = f.keptTail();
    return ok || fail(f.errorString());
}

int JobFile::count() {
    error_.clear();
    RecordFile f = fileNow();
    const int n = f.count();
    error_ = f.errorString();
    return n;
}

int JobFile::settledCount() {
    BackgroundRemoval::wait(path_);
    return count();
}

QByteArray JobFile::tail() {
    error_.clear();
    RecordFile f = file();
    const QByteArray bytes = f.tail();
    error_ = f.errorString();
    return bytes;
}

std::optional<JobRecord> JobFile::read(int n) {
    const int total = settledCount();
    if (!error_.isEmpty()) return std::nullopt;
    if (n < 1 || n > total) {
        fail(QStringLiteral("record %1 of %2 does not exist").arg(n).arg(path_));
        return std::nullopt;
    }
    RecordFile f = file();
    const QByteArray bytes = f.read(n);
    if (!f.errorString().isEmpty()) {
        fail(f.errorString());
        return std::nullopt;
    }
    return JobRecord::fromBytes(bytes);
}

bool JobFile::append(const JobRecord& job) {
    error_.clear();
    RecordFile f = file();
    return done(f, f.append(job.toBytes()));
}

bool JobFile::replace(int n, const JobRecord& job) {
    const int total = settledCount();
    if (!error_.isEmpty()) return false;
    if (n < 1 || n > total)
        return fail(QStringLiteral("record %1 of %2 does not exist").arg(n).arg(path_));
    RecordFile f = file();
    return f.write(n, job.toBytes()) || fail(f.errorString());
}

bool JobFile::remove(int n) {
    BackgroundRemoval::wait(path_);
    return removeNow(n);
}

bool JobFile::removeNow(int n) {
    error_.clear();
    RecordFile f = fileNow();
    return done(f, f.remove(n));
}

bool JobFile::setAside(int n, const JobRecord& expected) {
    const int total = settledCount();
    if (!error_.isEmpty()) return false;
    if (n < 1 || n > total)
        return fail(QStringLiteral("record %1 of %2 does not exist").arg(n).arg(path_));
    RecordFile f = file();
    const QByteArray bytes = f.read(n);
    if (!f.errorString().isEmpty()) return fail(f.errorString());
    // Compared as written, so that a date no double equals (NaN) still matches.
    if (JobRecord::fromBytes(bytes).toBytes() != expected.toBytes())
        return fail(QStringLiteral("record %1 of %2 has changed").arg(n).arg(path_));
    // In the rejected file first, then out of this one.
    RecordFile rejected(rejectedPath_, JobRecord::kLength);
    rejected.setBlankRecord(JobRecord{}.toBytes());
    rejected.setSynced(true);
    if (!rejected.append(bytes)) return fail(rejected.errorString());
    return done(f, f.remove(n));
}

bool JobFile::setAsideTail() {
    error_.clear();
    RecordFile f = file();
    return done(f, f.setAsideTail());
}

QList<QByteArray> JobFile::readAll(int limit) {
    const int total = limit < 0 ? settledCount() : std::min(settledCount(), limit);
    if (!error_.isEmpty() || total == 0) return {};
    RecordFile f = file();
    QList<QByteArray> records = f.readRange(1, total);
    if (!f.errorString().isEmpty()) {
        fail(f.errorString());
        return {};
    }
    return records;
}

QStringList JobFile::recipeListTexts() {
    const QList<QByteArray> records = readAll();
    QStringList texts;
    for (auto it = records.crbegin(); it != records.crend(); ++it)
        texts.append(AnsiCodePage::decode(it->first(JobRecord::kOrderNoWidth)));
    return texts;
}

QList<JobRecord> JobFile::records() {
    QList<JobRecord> jobs;
    for (const QByteArray& record : readAll()) jobs.append(JobRecord::fromBytes(record));
    return jobs;
}

QStringList JobFile::queueListTexts(QList<double>* queuedAt, int limit) {
    QStringList texts;
    if (queuedAt) queuedAt->clear();
    for (const QByteArray& record : readAll(limit)) {
        texts.append(JobRecord::orderNoOf(record) + QStringLiteral("---") +
                     JobRecord::bucketNoOf(record));
        if (queuedAt) queuedAt->append(JobRecord::queuedAtOf(record));
    }
    return texts;
}

JobFile recipeStoreFile(const QDir& workdir) {
    return JobFile(workdir.filePath(kRecipeStoreFileName),
                   workdir.filePath(kRecipeStoreScratchName),
                   workdir.filePath(kRecipeStoreRejectedName));
}

JobFile jobQueueFile(const QDir& workdir) {
    return JobFile(workdir.filePath(kJobQueueFileName), workdir.filePath(kJobQueueScratchName),
                   workdir.filePath(kJobQueueRejectedName));
}

}  // namespace dye
