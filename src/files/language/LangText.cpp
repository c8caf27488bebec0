#include "LangText.h"

#include <QFileInfo>

#include "LanguageFile.h"
#include "ShippedCaptions.h"
#include "ToSimplified.h"
#include "core/AnsiText.h"
#include "core/RecordFile.h"

#include <algorithm>

namespace dye {

QString LangText::load(const QString& path) {
    fillShipped();
    const QString name = QFileInfo(path).fileName();
    const bool existed = QFileInfo::exists(path);
    RecordFile file(path, LanguageFile::kRecordLength);
    const QList<QByteArray> records = file.readRange(1, LanguageFile::kRecordCount);
    fill(records);
    const QString shipped = QStringLiteral("the screens show the captions the station ships with");
    if (!existed) return QStringLiteral("%1 is missing: %2").arg(name, shipped);
    if (!file.errorString().isEmpty())
        return QStringLiteral("%1 cannot be read (%2): %3").arg(name, file.errorString(), shipped);
    const int count = file.count();
    if (count == 0) return QStringLiteral("%1 is empty: %2").arg(name, shipped);
    const qsizetype notText =
        std::count_if(records.begin(), records.begin() + std::min(count, int(records.size())),
                      [](const QByteArray& r) { return !isStoredText(r); });
    if (notText > 0)
        return QStringLiteral(
                   "%1: %2 of its %3 records hold bytes that are not text: they show "
                   "the captions the station ships with")
            .arg(name)
            .arg(notText)
            .arg(count);
    if (count < LanguageFile::kRecordCount)
        return QStringLiteral(
                   "%1 holds %2 of its %3 records: records %4..%3 show the captions "
                   "the station ships with")
            .arg(name)
            .arg(count)
            .arg(LanguageFile::kRecordCount)
            .arg(count + 1);
    return QString();
}

void LangText::fillShipped() {
    QList<QByteArray> records;
    for (const QString& text : shippedLanguageTexts())
        records.append(LanguageFile::recordFor(text));
    fill(records);
}

void LangText::fill(const QList<QByteArray>& records) {
    const int count = int(std::min<qsizetype>(records.size(), LanguageFile::kRecordCount));
    for (int i = 0; i < count; ++i) {
        // Bytes that are not text (another program's data) keep the caption.
        if (!isStoredText(records[i])) continue;
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
