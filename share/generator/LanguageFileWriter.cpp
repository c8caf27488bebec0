// Writes language.txt: block 0 Traditional Chinese, block 1 English, block 2
// Simplified Chinese, every unused entry a blank record.
#include <QDir>
#include <QList>

#include "CaptionTable.h"
#include "ShareFiles.h"
#include "core/AnsiText.h"
#include "core/RecordFile.h"
#include "language/LangText.h"
#include "language/LanguageFile.h"
#include "language/ToSimplified.h"

namespace dye::share {
namespace {

bool fitsCodePage(const QString& text) {
    return AnsiCodePage::decode(AnsiCodePage::encode(text)) == text;
}

// The Simplified form as far as the file's code page can hold it: a Big5 file
// lacks most Simplified characters, so each one it lacks keeps its Traditional
// form (the language table converts the rest as it loads the file).
QString simplifiedForCodePage(const QString& traditional) {
    const QString simplified = ToSimplified(traditional);
    if (simplified.size() != traditional.size()) return traditional;
    QString out;
    for (qsizetype i = 0; i < simplified.size(); ++i) {
        const QString one(simplified[i]);
        out += fitsCodePage(one) ? one : QString(traditional[i]);
    }
    return out;
}

// A text that the table would read back differently is a mistake in the
// caption table, not something to ship.
bool checkText(int k, const QString& text, QString* error) {
    const QByteArray bytes = AnsiCodePage::encode(text);
    QString why;
    if (k < 0 || k >= LangText::kPerLanguage) why = QStringLiteral("has no entry");
    if (text.isEmpty()) why = QStringLiteral("is empty");
    if (!fitsCodePage(text)) why = QStringLiteral("does not fit the code page");
    if (text.contains(QStringLiteral("   "))) why = QStringLiteral("holds three spaces");
    if (bytes.size() > LanguageFile::kRecordLength - 3) why = QStringLiteral("is too long");
    if (why.isEmpty()) return true;
    *error = QStringLiteral("caption %1 \"%2\" %3").arg(k).arg(text, why);
    return false;
}

}  // namespace

bool writeLanguageFile(const QString& dir, QString* error) {
    QList<QString> texts(LanguageFile::kRecordCount);
    for (const Caption& caption : captions()) {
        const QString chinese = QString::fromUtf16(caption.chinese);
        const QString english = QString::fromUtf16(caption.english);
        if (!checkText(caption.k, chinese, error) || !checkText(caption.k, english, error))
            return false;
        texts[caption.k] = chinese;
        texts[LangText::kPerLanguage + caption.k] = english;
        texts[2 * LangText::kPerLanguage + caption.k] = simplifiedForCodePage(chinese);
    }

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
