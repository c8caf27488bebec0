#pragma once

#include <QString>

#include <functional>

#include "model/Form5.h"

namespace dye {

class Dialogs;
struct Wording;

// The language editor (Form5): the texts of language.txt edited in place,
// box i being record i + 1. A text is stored when Enter is pressed in its
// box, and `saved` runs after each stored text so that the screens can show
// it at once.
class LanguageEditor {
  public:
    // The longest text a record keeps: a record must end in a run of three
    // blanks, or the table reads no text from it at all.
    static constexpr int kLongestText = 197;

    LanguageEditor(QString path, Dialogs& dialogs, std::function<void()> saved = {});

    Form5& form() { return form_; }
    const Form5& form() const { return form_; }
    void setSaved(std::function<void()> fn) { saved_ = std::move(fn); }
    // The window title in the station's language, taken at each opening.
    void setTitle(std::function<QString()> fn) { title_ = std::move(fn); }
    // The station's language (settings field 9), for the editor's messages;
    // language 0 until it is given.
    void setLanguage(std::function<int()> fn) { language_ = std::move(fn); }

    // Opening the screen: reads the file into the boxes (a missing file is
    // created empty; a file that cannot be read says so, and the boxes are empty).
    void open();
    // Enter in box i: stores its trimmed text as record i + 1 (the view then
    // gives the focus to box i + 1, when there is one). False, with a
    // message, when the text is refused: too long, not storable in the
    // file's code page, or the file cannot be written.
    bool saveText(int i, const QString& text);

  private:
    QString path_;
    Dialogs& dialogs_;
    std::function<void()> saved_;
    Form5 form_;
    std::function<QString()> title_;
    std::function<int()> language_;

    QString say(const Wording& w) const;  // in the station's language
    void tell(const QString& text);
};

}  // namespace dye
