#include "LanguageEditor.h"

#include "core/AnsiText.h"
#include "core/Dialogs.h"
#include "core/RecordFile.h"
#include "files/language/LanguageFile.h"
#include "files/language/Wording.h"

namespace dye {

LanguageEditor::LanguageEditor(QString path, Dialogs& dialogs, std::function<void()> saved)
    : path_(std::move(path)), dialogs_(dialogs), saved_(std::move(saved)) {}

QString LanguageEditor::say(const Wording& w) const {
    return wordingIn(language_ ? language_() : 0, w);
}

void LanguageEditor::tell(const QString& text) {
    dialogs_.message(text, form_.Caption, [] {});
}

void LanguageEditor::open() {
    if (title_) form_.Caption = title_();
    for (int i = 0; i < Form5::kPerLanguage; ++i) form_.Label1[size_t(i)] = QString::number(i);
    RecordFile file(path_, LanguageFile::kRecordLength);
    const QList<QByteArray> records = file.readRange(1, Form5::kBoxes);
    for (int i = 0; i < Form5::kBoxes; ++i)
        form_.Text1[size_t(i)] = i < records.size() ? fromFixedField(records[i]) : QString();
    if (!file.errorString().isEmpty())
        tell(say({u"%1 無法讀取：%2", u"%1 cannot be read: %2"}).arg(path_, file.errorString()));
}

bool LanguageEditor::saveText(int i, const QString& text) {
    if (i < 0 || i >= Form5::kBoxes) return false;
    const QString trimmed = text.trimmed();
    const qsizetype bytes = AnsiCodePage::encode(trimmed).size();
    if (bytes > kLongestText) {
        tell(say({u"第 %1 項文字有 %2 個位元組：一項文字最多 %3 個位元組（紀錄結尾需要三個空白）。"
                  u"請縮短後再按 Enter。",
                  u"Text %1 is %2 bytes long: a text keeps at most %3 bytes (its record needs "
                  u"three blanks at the end). Shorten it and press Enter again."})
                 .arg(i)
                 .arg(bytes)
                 .arg(kLongestText));
        return false;
    }
    if (AnsiCodePage::decode(AnsiCodePage::encode(trimmed)) != trimmed) {
        tell(say({u"第 %1 項文字含有檔案字碼頁（%2）無法儲存的字元；請改用繁體字輸入。",
                  u"Text %1 holds characters the file's code page (%2) cannot store; type them "
                  u"in their Traditional form."})
                 .arg(i)
                 .arg(QString::fromLatin1(AnsiCodePage::name())));
        return false;
    }
    QString error;
    if (!LanguageFile::saveEntry(path_, i, trimmed, &error)) {
        tell(say({u"第 %1 項文字沒有存檔：%2", u"Text %1 not saved: %2"}).arg(i).arg(error));
        return false;
    }
    form_.Text1[size_t(i)] = trimmed;
    if (saved_) saved_();
    return true;
}

}  // namespace dye
