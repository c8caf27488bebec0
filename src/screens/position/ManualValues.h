#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace dye {

struct Form2;

// The lists of the settings form's combo boxes: Combo1, Combo8 and Combo9
// the valves 1..24, Combo3 the outputs 1..4, Combo5 1 (wash) and 2
// (conveyor valve), Combo2/4/6/7 the opening times in hundredths of a second
// (10..100 by 10, 200..1000 by 100, 2000..10000 by 1000).
QStringList numberItems(int first, int last, int step = 1);
QStringList openingTimeItems();
void fillCombos(Form2& form);

// The controller's registers hold signed 16-bit words, and a slot holding 0
// sends nothing: a value typed or picked for a register is taken only when
// it is a whole number in 1..32767. Anything else (empty, 0, negative, a
// fraction, too large) gives nothing, so the control writes no register
// rather than a value wrapped round 16 bits.
inline constexpr int kLargestRegisterValue = 32767;
std::optional<int> registerValue(const QString& text);

// A selector's number (a valve 1..24, an output 1..4): a whole number in
// first..last, or nothing.
std::optional<int> selectorValue(const QString& text, int first, int last);

}  // namespace dye
