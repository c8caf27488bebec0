#include "GantryMove.h"

#include <algorithm>

#include "core/Val.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr int kHighestPosition = 32767;

qint16 position(const QString& text) {
    return qint16(std::clamp<qint64>(ValInt(text), 0, kHighestPosition));
}

// Entry 0 is the stored position, entry 1 the target, entry 2 the distance
// the robot check moves by. A stored position that some other part left
// outside the axis' travel still gives a distance that fits 16 bits.
void moveFrom(AxisMove& axis, qint16 target, qint16 from) {
    axis[1] = target;
    axis[2] = qint16(std::clamp<int>(int(target) - int(from), -kHighestPosition, kHighestPosition));
    axis[0] = target;
}

}  // namespace

void sendGantryToSlot(StationState& state, int slot) {
    if (slot < 1 || slot > MachineSettings::kTeachSlotCount) return;
    const TeachSlot taught = state.settings.teachSlot(slot);
    const qint16 x = position(taught.x);
    const qint16 y = position(taught.y);
    const qint16 z = position(taught.z);

    moveFrom(state.link.MoveX, x, state.link.MoveX[0]);
    moveFrom(state.link.MoveY, y, state.link.MoveY[0]);
    moveFrom(state.link.MoveZ, z, 0);  // Z runs home before it moves

    state.link.RobotCheckState = 1;
}

}  // namespace dye
