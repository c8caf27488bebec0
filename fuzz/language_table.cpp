// Language table loader: any file content fills the table without crashing;
// no entry ever holds the run of three spaces that ends a text, entry 360
// stays empty, and every entry saves back into one 200-byte record.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype length = dye::LanguageFile::kRecordLength;
    // Records as the file reader delivers them: a short last record is filled
    // with zero bytes.
    QList<QByteArray> records;
    for (qsizetype at = 0; at < bytes.size() && records.size() < 400; at += length) {
        QByteArray record = bytes.sliced(at, std::min(length, bytes.size() - at)).toByteArray();
        record.append(QByteArray(length - record.size(), '\0'));
        records.append(record);
    }

    dye::LangText table;
    table.fill(records);
    for (int i = 0; i < dye::LangText::kEntries; ++i) {
        const QString entry = table.entry(i);
        if (entry.contains(QStringLiteral("   "))) std::abort();
        if (dye::LanguageFile::recordFor(entry).size() != length) std::abort();
    }
    if (!table.entry(dye::LangText::kEntries - 1).isEmpty()) std::abort();
    const int language = size > 0 ? int(int8_t(data[0])) : 0;
    const int k = size > 1 ? int(int8_t(data[1])) : 0;
    (void)table.text(language, k);
    return 0;
}
