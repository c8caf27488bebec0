#include "LanguageEditor.h"

#include "core/AnsiText.h"
#include "core/Dialogs.h"
#include "core/RecordFile.h"
#include "files/language/LanguageFile.h"

namespace dye {

LanguageEditor::LanguageEditor(QString path, Dialogs& dialogs, std::function<void()> saved)
    : path_(std::move(path)), dialogs_(dialogs), saved_(std::move(saved)) {}

void LanguageEditor::open() {
    if (title_) form_.Caption = title_();
    for (int i = 0; i < Form5::kPerLanguage; ++i) form_.Label1[size_t(i)] = QString::number(i);
    RecordFile file(path_, LanguageFile::kRecordLength);
    const QList<QByteArray> records = file.readRange(1, Form5::kBoxes);
    for (int i = 0; i < Form5::kBoxes; ++i)
        form_.Text1[size_t(i)] = i < records.size() ? fromFixedField(records[i]) : QString();
    if (!file.errorString().isEmpty())
        dialogs_.message(QStringLiteral("%1 cannot be read: %2").arg(path_, file.errorString()),
                         form_.Caption, [] {});
}

bool LanguageEditor::saveText(int i, const QString& text) {
    if (i < 0 || i >= Form5::kBoxes) return false;
    const QString trimmed = text.trimmed();
    const qsizetype bytes = AnsiCodePage::encode(trimmed).size();
    if (bytes > kLongestText) {
        dialogs_.message(QStringLiteral("Text %1 is %2 bytes long: a text keeps at most %3 bytes "
                                        "(its record needs three blanks at the end). Shorten it "
                                        "and press Enter again.")
                             .arg(i)
                             .arg(bytes)
                             .arg(kLongestText),
                         form_.Caption, [] {});
        return false;
    }
    if (AnsiCodePage::decode(AnsiCodePage::encode(trimmed)) != trimmed) {
        dialogs_.message(QStringLiteral("Text %1 holds characters the file's code page (%2) cannot "
                                        "store; type them in their Traditional form.")
                             .arg(i)
                             .arg(QString::fromLatin1(AnsiCodePage::name())),
                         form_.Caption, [] {});
        return false;
    }
    QString error;
    if (!LanguageFile::saveEntry(path_, i, trimmed, &error)) {
        dialogs_.message(QStringLiteral("Text %1 not saved: %2").arg(i).arg(error), form_.Caption,
                         [] {});
        return false;
    }
    form_.Text1[size_t(i)] = trimmed;
    if (saved_) saved_();
    return true;
}

}  // namespace dye
