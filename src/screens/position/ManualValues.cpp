#include "ManualValues.h"

#include <cmath>

#include "core/Val.h"
#include "model/Form2.h"

namespace dye {

QStringList numberItems(int first, int last, int step) {
    QStringList items;
    for (int n = first; n <= last; n += step) items << QString::number(n);
    return items;
}

QStringList openingTimeItems() {
    return numberItems(10, 100, 10) + numberItems(200, 1000, 100) + numberItems(2000, 10000, 1000);
}

void fillCombos(Form2& form) {
    const QStringList valves = numberItems(1, 24);
    const QStringList times = openingTimeItems();
    for (int c : {1, 8, 9}) form.ComboItems[size_t(c)] = valves;
    form.ComboItems[3] = numberItems(1, 4);
    form.ComboItems[5] = numberItems(1, 2);
    for (int c : {2, 4, 6, 7}) form.ComboItems[size_t(c)] = times;
}

std::optional<int> selectorValue(const QString& text, int first, int last) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    const double v = Val(text);
    if (v != std::floor(v) || v < first || v > last) return std::nullopt;
    return int(v);
}

std::optional<int> registerValue(const QString& text) {
    return selectorValue(text, 1, kLargestRegisterValue);
}

}  // namespace dye
