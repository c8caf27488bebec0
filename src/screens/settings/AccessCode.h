#pragma once

#include <QString>

namespace dye {

class Dialogs;
struct StationState;

// The settings access code: a constant of the program, compared as text with
// the whole answer (a blank before or after it is a different answer).
inline constexpr char kSettingsAccessCode[] = "60817";

// The access code box's prompt: "enter password", and below it the same in
// the operator's language when that is not English.
QString passwordPrompt(int language);

// Asks for the settings access code ("enter password", title "1") in a box
// that hides what is typed, and says whether the answer was the code. During
// a transfer it asks nothing and says why instead; a wrong answer opens
// nothing and is told in a message, Cancel opens nothing.
bool askSettingsCode(const StationState& state, Dialogs& dialogs);

}  // namespace dye
