#pragma once

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include "DailyRecord.h"

namespace dye {

// Record numbers inside a month (0-based), in file order: what a search
// found, or the whole file.
using RecordRows = QList<qsizetype>;

// One month's record file held as its bytes: every whole 1080-byte record
// (no limit on their number), plus how many bytes of a partial record at the
// end were left out, so that a reader can say so. Fields are read from the
// bytes when they are needed; a month of many thousands of records is
// loaded, searched and totalled without decoding every field of it.
class RecordMonth {
  public:
    // Reads `path`. A path that is missing, not a regular file or unreadable
    // is refused with the reason (and the month left empty).
    bool load(const QString& path, QString* error = nullptr);

    qsizetype size() const { return count_; }
    qint64 tailBytes() const { return tail_; }
    RecordRows allRows() const;

    // The bytes of a field of record `row`, spaces and NULs of blank records
    // trimmed from both ends (still in the code page).
    QByteArrayView field(qsizetype row, int offset, int width) const;
    // The field decoded, as DailyRecord holds it.
    QString text(qsizetype row, int offset, int width) const;
    // The bytes of the whole record.
    QByteArrayView bytes(qsizetype row) const;
    DailyRecord record(qsizetype row) const;
    QList<DailyRecord> records(const RecordRows& rows) const;

  private:
    QByteArray bytes_;
    qsizetype count_ = 0;
    qint64 tail_ = 0;
};

// The names of the regular files in `folder`, sorted by name; folders,
// links to nowhere and other entries are left out. Empty when the folder
// cannot be listed.
QStringList recordFileNames(const QDir& folder);

// The month file a report argument names: "yyyymm" stands for
// data/DATE_yyyymm.txt of `workdir`; anything else is a path as given.
QString monthFileArgument(const QDir& workdir, const QString& argument);

}  // namespace dye
