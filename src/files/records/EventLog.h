#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QString>
#include <QStringList>

namespace dye {

inline constexpr char kLogFolder[] = "LOG";
inline constexpr int kLogRecordLength = 200;

// "LOG/" + year + month + day + "log.txt", month and day without leading
// zeros: 5 December 2026 gives LOG/2026125log.txt (so 2026-1-12 and
// 2026-11-2 share one file).
QString eventLogPath(const QDir& workdir, const QDate& day);
// "LOG/Write-" + order (trimmed) + "-" + year + month + day + "log.txt".
// A path separator inside the order becomes '_', so the log stays in LOG/.
QString writeLogPath(const QDir& workdir, const QString& order, const QDate& day);

// One 200-byte log record: the line and CR LF, padded with spaces and cut at
// 200 bytes (a line of more than 198 bytes is cut to keep its CR LF).
QByteArray logRecord(const QString& line);
// An event log line: the date and time, three spaces, the text.
QString logLine(const QDateTime& now, const QString& text);

// The time of the newest line of the event logs of `day` and the day after
// (a run on virtual time may have gone past midnight); invalid when there is
// none. A run on virtual time starts its clock after it, so that the log's
// times never go backwards across a restart.
QDateTime lastLoggedTime(const QDir& workdir, const QDate& day);

// Appends one line to the event log of `now`'s day, creating LOG/ when
// missing. A line that cannot be written comes back as false plus the reason.
bool AppendLog(const QDir& workdir, const QDateTime& now, const QString& text,
               QString* error = nullptr);
// Appends `lines` (no date in front) to the write-back log of `order` and
// `now`'s day, one record each.
bool AppendWriteLog(const QDir& workdir, const QString& order, const QDateTime& now,
                    const QStringList& lines, QString* error = nullptr);

}  // namespace dye
