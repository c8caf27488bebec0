#pragma once

#include <QString>
#include <QStringList>

namespace dye {

// A text of the station's own (a question, a refusal, a header) that the
// language table does not hold: its Traditional Chinese and English forms;
// the Simplified Chinese form is converted from the Traditional one.
struct Wording {
    const char16_t* chinese;
    const char16_t* english;
};

// The language of what the station logs and writes to disk (event log,
// plant statements): English, whatever the operator reads.
inline constexpr int kEnglish = 1;

// A finding as the event log keeps it (in English) and as the operator
// reads it (in the station's language); both empty when there is none.
struct Notice {
    QString logged;
    QString shown;
    bool isEmpty() const { return logged.isEmpty(); }
};

// The text in `language` (0 Traditional Chinese, 1 English, 2 Simplified
// Chinese; any other number shows language 0, as the captions do).
QString wordingIn(int language, const Wording& w);

// The answers of a yes/no question in `language`: "Yes" is choice 0, "No"
// choice 1.
QStringList yesNo(int language);

}  // namespace dye
