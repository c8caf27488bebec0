#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include "DailyRecord.h"

namespace dye {

// The records of one month's file as the viewer and the report read them:
// every whole 1080-byte record with its codes in full, and the bytes of a
// partial record at the end (left out), so that a reader can say so.
struct RecordMonth {
    QList<DailyRecord> records;
    qint64 tailBytes = 0;
};

// The names of the regular files in `folder`, sorted by name; folders,
// links to nowhere and other entries are left out. Empty when the folder
// cannot be listed.
QStringList recordFileNames(const QDir& folder);

// The month file a report argument names: "yyyymm" stands for
// data/DATE_yyyymm.txt of `workdir`; anything else is a path as given.
QString monthFileArgument(const QDir& workdir, const QString& argument);

// Reads every whole record of `path` (no limit on their number). A path
// that is missing, not a regular file or unreadable is refused with the
// reason.
bool loadRecordMonth(const QString& path, RecordMonth& month, QString* error = nullptr);

}  // namespace dye
