#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "DailyRecord.h"

namespace dye {

// The records as CSV for a spreadsheet: a header, then one row per recipe
// line (time, order, bucket, code, recipe weight, actual weight) with the
// whole code; rows of a record that hold nothing are left out. UTF-8 with a
// byte-order mark (how a spreadsheet knows the encoding), CR LF line ends, a
// field quoted when it holds a comma, a quote or a line break.
QByteArray recordsCsv(const QList<DailyRecord>& records);

// Writes recordsCsv(records) to `path`, replacing the file as a whole. The
// number of rows written goes to `rows`.
bool writeRecordsCsv(const QString& path, const QList<DailyRecord>& records, int* rows = nullptr,
                     QString* error = nullptr);

}  // namespace dye
