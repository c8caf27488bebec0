#include "LanguageFile.h"

#include "core/AnsiText.h"
#include "core/RecordFile.h"

namespace dye::LanguageFile {

std::optional<QString> textOf(QByteArrayView record) {
    // A Big5 trail byte is never 0x20, so searching the bytes finds the same
    // run of spaces as searching the decoded characters would.
    const qsizetype end = QByteArrayView(record).indexOf(QByteArrayView("   "));
    if (end < 0) return std::nullopt;
    return AnsiCodePage::decode(record.first(end));
}

QByteArray recordFor(const QString& text) {
    return toFixedField(text.trimmed(), kRecordLength);
}

bool saveEntry(const QString& path, int entry, const QString& text, QString* error) {
    if (entry < 0 || entry >= kRecordCount) {
        if (error) *error = QStringLiteral("language entry %1 does not exist").arg(entry);
        return false;
    }
    RecordFile file(path, kRecordLength);
    if (file.write(entry + 1, recordFor(text))) return true;
    if (error) *error = file.errorString();
    return false;
}

}  // namespace dye::LanguageFile
