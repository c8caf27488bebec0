#pragma once

#include <QList>
#include <QString>

#include <span>

namespace dye {

// One text of the language table: entry k of every language. The Traditional
// Chinese text is the screen's design caption; the Simplified block is made
// from it when the file is written.
struct ShippedCaption {
    int k;
    const char16_t* chinese;
    const char16_t* english;
};

// The captions the station ships with: the share generator writes them into
// language.txt, and the language table falls back on them where that file
// has no text.
std::span<const ShippedCaption> shippedCaptions();

// The 360 texts of the shipped language.txt, entry 120 * L + k for text k of
// language L, unused entries empty. The Simplified block keeps the Traditional
// form of each character the file's code page lacks (the table converts the
// rest as it loads the file).
QList<QString> shippedLanguageTexts();

}  // namespace dye
