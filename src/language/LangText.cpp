#include "LangText.h"

#include "LanguageFile.h"
#include "ToSimplified.h"
#include "core/RecordFile.h"

#include <algorithm>

namespace dye {

void LangText::load(const QString& path) {
    RecordFile file(path, LanguageFile::kRecordLength);
    fill(file.readRange(1, LanguageFile::kRecordCount));
}

void LangText::fill(const QList<QByteArray>& records) {
    const int count = int(std::min<qsizetype>(records.size(), LanguageFile::kRecordCount));
    for (int i = 0; i < count; ++i) {
        std::optional<QString> text = LanguageFile::textOf(records[i]);
        if (!text) continue;
        entries_[i] = i >= 2 * kPerLanguage ? ToSimplified(*text) : *text;
    }
}

QString LangText::entry(int index) const {
    if (index < 0 || index >= kEntries) return QString();
    return entries_[index];
}

QString LangText::text(int language, int k) const {
    if (k < 0 || k >= kPerLanguage) return QString();
    return entries_[index(language, k)];
}

int LangText::validLanguage(int language) {
    return language >= 0 && language < kLanguages ? language : 0;
}

int LangText::index(int language, int k) {
    return kPerLanguage * validLanguage(language) + k;
}

}  // namespace dye
