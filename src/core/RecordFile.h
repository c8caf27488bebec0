#pragma once

#include <QByteArray>
#include <QString>

namespace dye {

// A file of fixed-length records, numbered from 1, with no header. Every
// operation opens the file, works and closes it again. An absent file is
// created empty when it is first used, as the station's files always were.
//
// Failures (a read-only folder, a full disk) are reported through the return
// value and errorString(); nothing throws.
class RecordFile {
  public:
    RecordFile(QString path, int recordLength, QString scratchPath = QString());

    const QString& path() const { return path_; }
    int recordLength() const { return recordLength_; }

    // File length / record length; a trailing partial record is not counted.
    int count();
    // Record n; a record beyond the end (or the missing part of a partial
    // one) reads as zero bytes, which every field reader takes as blank.
    QByteArray read(int n);
    // Reads records 1..n in one opening (what list fills and loads use).
    QList<QByteArray> readRange(int first, int last);
    // Every whole record, as readRange(1, count()) gives them, with the file
    // opened once (created when absent, as count() does).
    QList<QByteArray> readAll();
    // Writes record n (cut or padded with spaces to the record length).
    bool write(int n, const QByteArray& record);
    // Writes record count + 1.
    bool append(const QByteArray& record);
    // Removes record k (1 <= k <= count). The compacted content is written to
    // the scratch file, flushed to disk and renamed over the original, so at
    // every instant one whole file (old or new) exists.
    bool remove(int k);

    QString errorString() const { return error_; }

  private:
    bool fail(const QString& what);
    QByteArray fit(const QByteArray& record) const;

    QString path_;
    int recordLength_;
    QString scratchPath_;
    QString error_;
};

// `bytes` as one record of `length` bytes: cut, or completed with the zero
// bytes a never-written part of a record reads as (blank to every field).
QByteArray wholeRecord(QByteArrayView bytes, int length);

// Makes sure the file exists (creating it empty), as opening it always did.
bool ensureFileExists(const QString& path, QString* error = nullptr);

}  // namespace dye
