#include "TeachSlotSpread.h"

#include <cmath>

#include "core/Val.h"
#include "settings/MachineSettings.h"

namespace dye {

void spreadLineSlots(MachineSettings& settings) {
    const TeachSlot first = settings.teachSlot(1);
    const double step = (Val(settings.teachSlot(kLineSlotCount).x) - Val(first.x)) / 24.0;
    for (int k = 2; k < kLineSlotCount; ++k) {
        TeachSlot slot = settings.teachSlot(k);
        // + 0.0 keeps a cut to zero from reading "-0".
        const double x = std::floor(Val(settings.teachSlot(k - 1).x) + step) + 0.0;
        slot.x = QString::number(x, 'f', 0);
        settings.setTeachSlot(k, slot);
    }
    for (int k = 2; k <= kLineSlotCount; ++k) {
        TeachSlot slot = settings.teachSlot(k);
        slot.z = first.z;
        settings.setTeachSlot(k, slot);
    }
}

}  // namespace dye
