#include "TeachSlotSpread.h"

#include <cmath>

#include "core/Val.h"
#include "files/settings/MachineSettings.h"

namespace dye {
namespace {

constexpr int kGridSide = 8;

// X or Y of a teach slot.
using Coordinate = QString TeachSlot::*;

double at(const MachineSettings& settings, int slot, Coordinate c) {
    return Val(settings.teachSlot(slot).*c);
}

// Sets a coordinate to `value` cut to a whole number.
void put(MachineSettings& settings, int slot, Coordinate c, double value) {
    TeachSlot t = settings.teachSlot(slot);
    // + 0.0 keeps a cut to zero from reading "-0".
    t.*c = QString::number(std::floor(value) + 0.0, 'f', 0);
    settings.setTeachSlot(slot, t);
}

int gridSlot(int row, int column) {
    return kGridSide * (row - 1) + column;
}

}  // namespace

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

void spreadGridSlots(MachineSettings& settings) {
    const double offset[2] = {Val(settings.xCompensation()),
                              std::floor(Val(settings.yCompensation()))};
    const Coordinate coordinates[2] = {&TeachSlot::x, &TeachSlot::y};
    for (int i = 0; i < 2; ++i) {
        const Coordinate c = coordinates[i];
        const double left = (at(settings, gridSlot(8, 1), c) - at(settings, 1, c)) / 7.0;
        const double right = (at(settings, gridSlot(8, 8), c) - at(settings, 8, c)) / 7.0;
        for (int r = 2; r <= 7; ++r) {
            put(settings, gridSlot(r, 1), c, at(settings, gridSlot(r - 1, 1), c) + left);
            put(settings, gridSlot(r, 8), c, at(settings, gridSlot(r - 1, 8), c) + right);
        }
        for (int r = 1; r <= kGridSide; ++r) {
            const double step =
                (at(settings, gridSlot(r, 8), c) - at(settings, gridSlot(r, 1), c)) / 7.0;
            for (int col = 1; col <= 6; ++col) {
                const double extra = col == 4 ? offset[i] : 0.0;
                put(settings, gridSlot(r, col + 1), c,
                    at(settings, gridSlot(r, col), c) + step + extra);
            }
        }
    }
    const QString z = settings.teachSlot(1).z;
    for (int k = 2; k <= MachineSettings::kTeachSlotCount; ++k) {
        TeachSlot t = settings.teachSlot(k);
        t.z = z;
        settings.setTeachSlot(k, t);
    }
}

}  // namespace dye
