#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "JobRecord.h"
#include "core/RecordFile.h"

namespace dye {

inline constexpr char kRecipeStoreFileName[] = "QUICK_A.txt";
inline constexpr char kRecipeStoreScratchName[] = "QUICK_A2.txt";
inline constexpr char kJobQueueFileName[] = "START_DISPEN.txt";
inline constexpr char kJobQueueScratchName[] = "START_DISPEN2.txt";
// Where records that cannot be used are moved aside, as 940-byte records.
inline constexpr char kRecipeStoreRejectedName[] = "QUICK_A_REJECTED.txt";
inline constexpr char kJobQueueRejectedName[] = "START_DISPEN_REJECTED.txt";

// A file of JobRecords: the recipe store or the job queue. Every operation
// opens the file, works and closes it; an absent file is created empty, a
// path that is not a file is refused. Failures come back as false (or
// nothing) plus errorString(). Appends and replacements are synced.
//
// A partial record at the end of the file (a write cut short) is never
// counted and never lost: an append or a removal first moves it to the
// rejected file, completed to 940 bytes from a blank record with its own
// bytes first, and says so in keptTail(). The file itself then holds whole
// records only, so no torn record is ever taken as a job.
class JobFile {
  public:
    // Without a rejected file a partial record is completed in place by an
    // append and kept at the end by a removal (nothing is lost either way).
    JobFile(QString path, QString scratchPath, QString rejectedPath = QString());

    const QString& path() const { return path_; }
    const QString& rejectedPath() const { return rejectedPath_; }

    // File length / 940 (a look at the size: during a background removal,
    // the count before it).
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
    // remove() without waiting for a background removal from this file: what
    // that removal itself runs.
    bool removeNow(int n);
    // Moves record n, byte for byte, to the end of the rejected file (synced)
    // and then removes it; refused when record n is no longer `expected`.
    // A kill in between leaves it in both files, never in neither.
    bool setAside(int n, const JobRecord& expected);
    // Moves a partial record at the end to the rejected file and rewrites
    // the file without it; true when there was none.
    bool setAsideTail();
    // The bytes after the last whole record (empty when the file is whole).
    QByteArray tail();
    // The partial record the last append, removal or setAsideTail() moved to
    // the rejected file, as it was (empty when there was none).
    const QByteArray& keptTail() const { return keptTail_; }

    // The recipe list, newest first: list index i shows record count - i,
    // its OrderNo exactly as stored (padding included).
    QStringList recipeListTexts();
    // The queue list, oldest first: list index i shows record i + 1 as
    // OrderNo + "---" + BucketNo, both trimmed; at most `limit` lines (the
    // first records only are read), all of them when limit < 0. `queuedAt`,
    // when given, gets each line's QueuedAt, so a line can be matched to its
    // record later.
    QStringList queueListTexts(QList<double>* queuedAt = nullptr, int limit = -1);

    const QString& errorString() const { return error_; }

  private:
    QList<QByteArray> readAll(int limit = -1);
    int settledCount();       // count() once a background removal is over
    RecordFile file() const;  // after a background removal from it is over
    RecordFile fileNow() const;
    bool fail(const QString& why);
    bool done(RecordFile& file, bool ok);

    QString path_;
    QString scratchPath_;
    QString rejectedPath_;
    QByteArray keptTail_;
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
