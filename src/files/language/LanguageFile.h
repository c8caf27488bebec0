#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace dye {

// language.txt: 360 records of 200 bytes in the ANSI code page, no separators.
// Record r holds table entry r - 1; entry 120 * L + k is text k of language L.
namespace LanguageFile {

inline constexpr const char* kFileName = "language.txt";
inline constexpr int kRecordLength = 200;
inline constexpr int kRecordCount = 360;

// The text of one record: everything before the first run of three spaces
// (empty when the record starts with it), not trimmed. A record with no such
// run (a missing record reads as zero bytes) has no text: std::nullopt.
std::optional<QString> textOf(QByteArrayView record);

// The 200-byte record for `text`: trimmed, left-aligned, padded with spaces,
// cut at 200 bytes without splitting a double-byte character.
QByteArray recordFor(const QString& text);

// Stores `text` as the record of table entry `entry` (0..359, record
// entry + 1) of the file at `path`, which is created when missing. Returns
// false with `error` filled when the entry is out of range or the write fails.
bool saveEntry(const QString& path, int entry, const QString& text, QString* error = nullptr);

}  // namespace LanguageFile
}  // namespace dye
