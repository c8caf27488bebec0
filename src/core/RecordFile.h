#pragma once

#include <QByteArray>
#include <QString>

namespace dye {

// A file of fixed-length records, numbered from 1, with no header. Every
// operation opens the file, works and closes it again. An absent file is
// created empty when it is first used, as the station's files always were; a
// path that names something other than a file (a folder, a device, a pipe)
// is refused with the reason and never opened.
//
// A file whose length is not a multiple of the record length ends in a
// partial record (a write cut short by a kill or a power cut). It is never
// counted, and no operation loses it: with an aside file set, an append or a
// removal first moves it there (completed to a whole record from the blank
// record, its own bytes first, and synced); without one, an append completes
// it in place and a removal keeps it at the end of the new file.
//
// Failures (a read-only folder, a full disk) are reported through the return
// value and errorString(); nothing throws.
class RecordFile {
  public:
    RecordFile(QString path, int recordLength, QString scratchPath = QString());

    const QString& path() const { return path_; }
    int recordLength() const { return recordLength_; }

    // The file a partial record at the end is moved to (see above).
    void setAsideFile(QString path) { asidePath_ = std::move(path); }
    // What the missing part of a partial record is completed from (zero
    // bytes, which every field reader takes as blank, when not set).
    void setBlankRecord(QByteArray blank) { blank_ = std::move(blank); }
    // Appends and writes reach the disk (fsync) before they return.
    void setSynced(bool synced) { synced_ = synced; }

    // File length / record length; a trailing partial record is not counted.
    int count();
    // The bytes after the last whole record (empty when the file is whole).
    QByteArray tail();
    // Record n; a record beyond the end (or the missing part of a partial
    // one) reads as zero bytes, which every field reader takes as blank.
    QByteArray read(int n);
    // Reads records 1..n in one opening (what list fills and loads use).
    QList<QByteArray> readRange(int first, int last);
    // Every whole record, as readRange(1, count()) gives them, with the file
    // opened once (created when absent, as count() does).
    QList<QByteArray> readAll();
    // Writes record n in place (cut or padded with spaces to the record
    // length).
    bool write(int n, const QByteArray& record);
    // Writes record count + 1, after the partial record at the end has been
    // moved aside or completed.
    bool append(const QByteArray& record);
    // Removes record k (1 <= k <= count). The compacted content is written to
    // the scratch file, flushed to disk and renamed over the original, so at
    // every instant one whole file (old or new) exists.
    bool remove(int k);
    // Moves the partial record at the end to the aside file and rewrites the
    // file without it (as a removal does). True when there was none.
    bool setAsideTail();

    // The partial record the last operation moved aside or completed, as it
    // was in the file (empty when there was none).
    const QByteArray& keptTail() const { return keptTail_; }
    QString errorString() const { return error_; }

  private:
    bool fail(const QString& what);
    bool usable();
    QByteArray fit(const QByteArray& record) const;
    QByteArray completed(const QByteArray& tail) const;
    bool readBytes(QByteArray& all);
    QList<QByteArray> records(const QByteArray& bytes, int n) const;
    bool moveAside(const QByteArray& tail);
    bool writeAt(qint64 offset, const QByteArray& bytes);
    bool replaceWith(const QByteArray& content);

    QString path_;
    int recordLength_;
    QString scratchPath_;
    QString asidePath_;
    QByteArray blank_;
    bool synced_ = false;
    QByteArray keptTail_;
    QString error_;
};

// `bytes` as one record of `length` bytes: cut, or completed with the zero
// bytes a never-written part of a record reads as (blank to every field).
QByteArray wholeRecord(QByteArrayView bytes, int length);

// Why `path` cannot be used as a file of records: it names a folder, a
// device, a pipe or a socket ("" when it is a file or does not exist).
QString notAFileReason(const QString& path);

// Makes sure the file exists (creating it empty), as opening it always did.
bool ensureFileExists(const QString& path, QString* error = nullptr);

}  // namespace dye
