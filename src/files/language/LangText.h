#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace dye {

// The language table: every switchable caption of the screens, 120 texts for
// each of the three languages (0 Traditional Chinese, 1 English, 2 Simplified
// Chinese), filled from language.txt when the main screen starts.
//
// Texts of language 2 are converted to Simplified characters as they are
// loaded: the file is in the Big5 code page, which holds few Simplified
// characters, so its third block is usually stored in Traditional form.
class LangText {
  public:
    static constexpr int kPerLanguage = 120;
    static constexpr int kLanguages = 3;
    // Entries 0..360; the file fills 0..359, entry 360 is never filled.
    static constexpr int kEntries = kPerLanguage * kLanguages + 1;

    // Fills the table with the captions the station ships with, then reads
    // records 1..360 of the file at `path` (created empty when missing) over
    // them: an entry whose record the file lacks keeps its shipped caption.
    // Returns what the file lacked, in words for the operator (which records
    // show the shipped captions, and why); empty when it held all 360.
    QString load(const QString& path);
    // Every entry from the captions the station ships with, as the shipped
    // language.txt would fill them.
    void fillShipped();
    // Fills entry i from records[i], for the records given (at most 360). A
    // record without a run of three spaces leaves its entry as it was.
    void fill(const QList<QByteArray>& records);

    // Entry `index` of the table; empty outside 0..360.
    QString entry(int index) const;
    // Text k (0..119) of language `language`; empty for any other k.
    QString text(int language, int k) const;

    // The language actually used for a language number from the settings:
    // 0, 1 and 2 stand; any other number (a mistyped or empty setting reads 0
    // anyway) falls back to language 0, so the screens never go blank.
    static int validLanguage(int language);
    // The table index of text k of `language`: 120 * validLanguage + k.
    static int index(int language, int k);

  private:
    std::array<QString, kEntries> entries_;
};

}  // namespace dye
