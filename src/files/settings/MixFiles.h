#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

namespace dye {

class MachineSettings;

// The dye-mix table, its marks and the bucket flags.
inline constexpr char kDyeMixFileName[] = "DYE_MIX.txt";     // 30-byte texts
inline constexpr char kMixMarksFileName[] = "MIX_C.txt";     // signed 16-bit little-endian
inline constexpr char kBucketFlagsFileName[] = "light.txt";  // one byte, "0" or "1"
inline constexpr int kDyeMixEntryCount = 30;
inline constexpr int kDyeMixWidth = 30;
inline constexpr int kBucketFlagCount = 200;

// Path of a dye-mix file as the run names it: the folder text (settings
// field 37, trimmed) put in front of the file name with nothing added.
// An empty folder names the working directory, a relative one lies in it;
// '\' in the folder becomes '/' where that is the separator.
QString dyeMixFilePath(const QDir& workdir, const QString& folder, const QString& fileName);
// The one MIX_C.txt of the station: in the dye-mix folder of `settings`
// (the working directory's when the field is empty). The run writes the
// job's marks into it, the status timer drives the mixers from it, and the
// load and the operator clear it.
QString mixMarksPath(const QDir& workdir, const MachineSettings& settings);

// DYE_MIX.txt: entries 1..30, trimmed. `texts` always gets 30 entries.
bool loadDyeMix(const QString& path, QStringList& texts, QString* error = nullptr);
// Writes the trimmed texts into records 1.. (at most 30) in one pass.
bool saveDyeMix(const QString& path, const QStringList& texts, QString* error = nullptr);

// MIX_C.txt: marks 1..30 (1 = the entry is used by the current job). A
// missing or short record reads 0. `marks` always gets 30 entries.
bool loadMixMarks(const QString& path, QList<qint16>& marks, QString* error = nullptr);
bool writeMixMark(const QString& path, int entry, qint16 mark, QString* error = nullptr);
// Writes 0 into all 30 records.
bool resetMixMarks(const QString& path, QString* error = nullptr);
// Writes `mark` into the MIX_C.txt record of every DYE_MIX.txt entry whose
// text is `code` (both files in the dye-mix folder of `settings`): a code
// may stand in several entries, and each is marked or cleared alike.
bool markDyeMixCode(const QDir& workdir, const MachineSettings& settings, const QString& code,
                    qint16 mark, QString* error = nullptr);

// light.txt in the working directory: "0" into records 1..200.
bool resetBucketFlags(const QDir& workdir, QString* error = nullptr);
// "1" into the record of bucket 1..200; any other bucket number is refused.
bool setBucketFlag(const QDir& workdir, int bucket, QString* error = nullptr);

}  // namespace dye
