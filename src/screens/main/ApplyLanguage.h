#pragma once

namespace dye {

class LangText;
struct StationState;

// Copies the texts of the current language (settings field 9; a number
// outside 0..2 shows language 0) onto the switchable captions of the main
// screen, the single dispensing entry, the settings form, the position screen,
// the records viewer and the category picker. Captions of an empty entry
// become empty, but on the settings form, which shows the shipped caption in
// that language; the station fields of the settings form keep their "<1> " or
// "<2> " prefix. Window titles and the captions the table has no entries for
// are the station's own wording (ApplyScreenWording).
void ApplyLanguage(StationState& state, const LangText& lang);

}  // namespace dye
