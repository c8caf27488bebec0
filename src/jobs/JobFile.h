#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "JobRecord.h"

namespace dye {

inline constexpr char kRecipeStoreFileName[] = "QUICK_A.txt";
inline constexpr char kRecipeStoreScratchName[] = "QUICK_A2.txt";
inline constexpr char kJobQueueFileName[] = "START_DISPEN.txt";
inline constexpr char kJobQueueScratchName[] = "START_DISPEN2.txt";

// A file of JobRecords: the recipe store or the job queue. Every operation
// opens the file, works and closes it; an absent file is created empty.
// Failures come back as false (or nothing) plus errorString().
class JobFile {
  public:
    JobFile(QString path, QString scratchPath);

    const QString& path() const { return path_; }

    // File length / 940.
    int count();
    // Record n, 1 <= n <= count; nothing when it does not exist.
    std::optional<JobRecord> read(int n);
    // Records 1..count in one read; empty, with errorString(), when the file
    // cannot be read.
    QList<JobRecord> records();
    bool append(const JobRecord& job);
    // Overwrites record n (1 <= n <= count) in place.
    bool replace(int n, const JobRecord& job);
    // Removes record n through the scratch file; the file is replaced whole.
    bool remove(int n);

    // The recipe list, newest first: list index i shows record count - i,
    // its OrderNo exactly as stored (padding included).
    QStringList recipeListTexts();
    // The queue list, oldest first: list index i shows record i + 1 as
    // OrderNo + "---" + BucketNo, both trimmed.
    QStringList queueListTexts();

    const QString& errorString() const { return error_; }

  private:
    QList<QByteArray> readAll();
    bool fail(const QString& why);

    QString path_;
    QString scratchPath_;
    QString error_;
};

// Record number shown at index `index` of the recipe list of `count` records.
inline int recipeListRecord(int index, int count) {
    return count - index;
}
// Record number shown at index `index` of the queue list.
inline int queueListRecord(int index) {
    return index + 1;
}

// The two job files of a working directory.
JobFile recipeStoreFile(const QDir& workdir);
JobFile jobQueueFile(const QDir& workdir);

}  // namespace dye
