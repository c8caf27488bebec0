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

// Appends `record` to the file of its finish month at record
// (length / 1080) + 1, creating data/ when missing. A record that cannot be
// written comes back as false plus the reason.
bool AppendDailyRecord(const QDir& workdir, const DailyRecord& record, QString* error = nullptr);

// Records 1..(length / 1080) of a record file; the file is only read. A
// trailing partial record is left out.
bool readDailyRecords(const QString& path, QList<DailyRecord>& records, QString* error = nullptr);

}  // namespace dye
