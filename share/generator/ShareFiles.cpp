#include "ShareFiles.h"

#include <QFile>

#include "core/AnsiText.h"
#include "core/RecordFile.h"

namespace dye::share {

bool startFile(const QString& path, QString* error) {
    if (!QFile::exists(path) || QFile::remove(path)) return true;
    *error = QStringLiteral("cannot replace %1").arg(path);
    return false;
}

bool writeTextFile(const QString& path, int recordLength, const QList<QString>& texts,
                   QString* error) {
    if (!startFile(path, error)) return false;
    RecordFile file(path, recordLength);
    for (int n = 1; n <= texts.size(); ++n) {
        const QString& text = texts[n - 1];
        if (AnsiCodePage::decode(AnsiCodePage::encode(text)) != text) {
            *error = QStringLiteral("\"%1\" does not fit the code page").arg(text);
            return false;
        }
        if (!file.write(n, toFixedField(text, recordLength))) {
            *error = file.errorString();
            return false;
        }
    }
    return true;
}

}  // namespace dye::share
