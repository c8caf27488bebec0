// Writes language.txt: block 0 Traditional Chinese, block 1 English, block 2
// Simplified Chinese, every unused entry a blank record.
#include <QDir>
#include <QList>

#include "ShareFiles.h"
#include "core/AnsiText.h"
#include "core/RecordFile.h"
#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"
#include "files/language/ShippedCaptions.h"

namespace dye::share {
namespace {

// A text that the table would read back differently is a mistake in the
// caption table, not something to ship.
bool checkText(int k, const QString& text, QString* error) {
    const QByteArray bytes = AnsiCodePage::encode(text);
    QString why;
    if (k < 0 || k >= LangText::kPerLanguage) why = QStringLiteral("has no entry");
    if (text.isEmpty()) why = QStringLiteral("is empty");
    if (AnsiCodePage::decode(bytes) != text) why = QStringLiteral("does not fit the code page");
    if (text.contains(QStringLiteral("   "))) why = QStringLiteral("holds three spaces");
    if (bytes.size() > LanguageFile::kRecordLength - 3) why = QStringLiteral("is too long");
    if (why.isEmpty()) return true;
    *error = QStringLiteral("caption %1 \"%2\" %3").arg(k).arg(text, why);
    return false;
}

}  // namespace

bool writeLanguageFile(const QString& dir, QString* error) {
    for (const ShippedCaption& caption : shippedCaptions()) {
        if (!checkText(caption.k, QString::fromUtf16(caption.chinese), error) ||
            !checkText(caption.k, QString::fromUtf16(caption.english), error))
            return false;
    }
    const QList<QString> texts = shippedLanguageTexts();

    const QString path = QDir(dir).filePath(QString::fromLatin1(LanguageFile::kFileName));
    if (!startFile(path, error)) return false;
    RecordFile file(path, LanguageFile::kRecordLength);
    for (int i = 0; i < LanguageFile::kRecordCount; ++i) {
        if (!file.write(i + 1, LanguageFile::recordFor(texts[i]))) {
            *error = file.errorString();
            return false;
        }
    }
    return true;
}

}  // namespace dye::share
