#pragma once

#include <QDate>
#include <QDir>
#include <QList>
#include <QString>

#include "DailyRecord.h"

namespace dye {

inline constexpr char kDailyRecordFolder[] = "data";

// The record file of the month of `day`: "data/DATE_" + yyyy + MM + ".txt".
QString dailyRecordPath(const QDir& workdir, const QDate& day);

// Where a partial record at the end of the month's file goes:
// "data/DATE_" + yyyy + MM + "_TORN.txt", so that the month's own file holds
// whole records only and no job counts twice in its totals.
QString tornDailyRecordPath(const QDir& workdir, const QDate& day);

// Appends `record` to the file of its finish month at record
// (length / 1080) + 1, creating data/ when missing. A partial record at the
// end of the file (a record cut short by a kill) is first moved to the torn
// file of the month, completed to 1080 bytes with its own bytes first;
// `kept` then says so. A record that cannot be written comes back as false
// plus the reason.
bool AppendDailyRecord(const QDir& workdir, const DailyRecord& record, QString* error = nullptr,
                       QString* kept = nullptr);

// Records 1..(length / 1080) of a record file; the file is only read. A
// trailing partial record is left out; a path that is not a file is refused.
bool readDailyRecords(const QString& path, QList<DailyRecord>& records, QString* error = nullptr);

}  // namespace dye
