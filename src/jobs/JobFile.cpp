#include "JobFile.h"

#include "core/AnsiText.h"
#include "core/RecordFile.h"

namespace dye {

JobFile::JobFile(QString path, QString scratchPath)
    : path_(std::move(path)), scratchPath_(std::move(scratchPath)) {}

bool JobFile::fail(const QString& why) {
    error_ = why;
    return false;
}

int JobFile::count() {
    error_.clear();
    RecordFile file(path_, JobRecord::kLength, scratchPath_);
    const int n = file.count();
    error_ = file.errorString();
    return n;
}

std::optional<JobRecord> JobFile::read(int n) {
    const int total = count();
    if (!error_.isEmpty()) return std::nullopt;
    if (n < 1 || n > total) {
        fail(QStringLiteral("record %1 of %2 does not exist").arg(n).arg(path_));
        return std::nullopt;
    }
    RecordFile file(path_, JobRecord::kLength, scratchPath_);
    const QByteArray bytes = file.read(n);
    if (!file.errorString().isEmpty()) {
        fail(file.errorString());
        return std::nullopt;
    }
    return JobRecord::fromBytes(bytes);
}

bool JobFile::append(const JobRecord& job) {
    error_.clear();
    RecordFile file(path_, JobRecord::kLength, scratchPath_);
    return file.append(job.toBytes()) || fail(file.errorString());
}

bool JobFile::replace(int n, const JobRecord& job) {
    const int total = count();
    if (!error_.isEmpty()) return false;
    if (n < 1 || n > total)
        return fail(QStringLiteral("record %1 of %2 does not exist").arg(n).arg(path_));
    RecordFile file(path_, JobRecord::kLength, scratchPath_);
    return file.write(n, job.toBytes()) || fail(file.errorString());
}

bool JobFile::remove(int n) {
    error_.clear();
    RecordFile file(path_, JobRecord::kLength, scratchPath_);
    return file.remove(n) || fail(file.errorString());
}

QList<QByteArray> JobFile::readAll() {
    error_.clear();
    RecordFile file(path_, JobRecord::kLength, scratchPath_);
    QList<QByteArray> records = file.readAll();
    if (!file.errorString().isEmpty()) {
        fail(file.errorString());
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

QStringList JobFile::queueListTexts() {
    QStringList texts;
    for (const QByteArray& record : readAll())
        texts.append(JobRecord::orderNoOf(record) + QStringLiteral("---") +
                     JobRecord::bucketNoOf(record));
    return texts;
}

JobFile recipeStoreFile(const QDir& workdir) {
    return JobFile(workdir.filePath(kRecipeStoreFileName),
                   workdir.filePath(kRecipeStoreScratchName));
}

JobFile jobQueueFile(const QDir& workdir) {
    return JobFile(workdir.filePath(kJobQueueFileName), workdir.filePath(kJobQueueScratchName));
}

}  // namespace dye
