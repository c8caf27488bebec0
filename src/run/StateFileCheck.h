#pragma once

#include <QDir>
#include <QString>

#include "files/language/Wording.h"

namespace dye {

// State files that another program, a disk fault or random bytes made
// unreadable are set aside byte for byte, never read in silence and never
// lost. Each returns what it did, for the event log and the operator (empty
// when the file was sound), or why it could not.

// The recipe store (QUICK_A.txt): every record whose text fields hold bytes
// the station never writes (control bytes, broken characters) is moved to
// QUICK_A_REJECTED.txt as it is, and the store keeps its readable records.
// The message is in `language`, the log line in English.
Notice setAsideUnreadableRecipes(const QDir& workdir, int language);

// The wash table (WASHsetting.txt): a file that is not a whole number of its
// 200-byte records, longer than its 128 records, or holding bytes that are
// not text is moved whole to WASHsetting_REJECTED.txt; the wash table then
// reads empty, so washes use the wash count and water of the settings.
QString setAsideUnreadableWashTable(const QDir& workdir);

}  // namespace dye
