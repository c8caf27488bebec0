#include "run/OrderListLoad.h"

#include "files/language/ToSimplified.h"
#include "station/StationState.h"

namespace dye {

void LoadOrderList(StationState& state) {
    Form11& f = state.form11;
    if (f.Loaded) return;
    f.Loaded = true;
    if (state.settings.number(SettingsField::Language) != 2) return;
    for (int i = 0; i <= 6; ++i) f.Label1[i] = ToSimplified(f.Label1[i]);
    for (int i = 0; i <= 3; ++i) f.Label2[i] = ToSimplified(f.Label2[i]);
}

}  // namespace dye
