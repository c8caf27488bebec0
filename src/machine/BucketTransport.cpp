#include "BucketTransport.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Dialogs.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "link/AxisCommand.h"
#include "link/Registers.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr int kHighestPosition = 32767;
constexpr qint32 kOff = RegisterImage::RegNoValue;
constexpr int kConveyorPlaces = 21;  // places 0..20 have a conveyor stop

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

struct AxisRegisters {
    int first;  // direction, speed, distance, mode
    int homeDistance;
};

AxisRegisters registersOf(BucketTransport::Axis axis) {
    switch (axis) {
        case BucketTransport::Axis::X:
            return {kAxisX, 30000};
        case BucketTransport::Axis::Y:
            return {kAxisY, 30000};
        case BucketTransport::Axis::Z:
            break;
    }
    return {kAxisZ, 20000};
}

// The stored position of the axis (entry 0 of its triple).
qint16& storedPosition(LinkState& l, BucketTransport::Axis axis) {
    switch (axis) {
        case BucketTransport::Axis::X:
            return l.MoveX[0];
        case BucketTransport::Axis::Y:
            return l.MoveY[0];
        case BucketTransport::Axis::Z:
            break;
    }
    return l.MoveZ[0];
}

}  // namespace

void BucketTransport::toSlot(int slot) {
    if (slot < 1 || slot > MachineSettings::kTeachSlotCount) return;
    const TeachSlot taught = s_.settings.teachSlot(slot);
    LinkState& l = s_.link;
    moveFrom(l.MoveX, position(taught.x), l.MoveX[0]);
    moveFrom(l.MoveY, position(taught.y), l.MoveY[0]);
    moveFrom(l.MoveZ, position(taught.z), 0);  // Z runs home before it moves
    l.RobotCheckState = 1;
}

bool BucketTransport::conveyorTo(int p, QString* why, qint32 time) {
    RegisterImage& image = s_.link.image;
    if (p < 0 || p >= kConveyorPlaces) {
        if (why)
            *why = s_.say({u"桶位 %1 沒有輸送帶停靠點", u"BUCKET PLACE %1 HAS NO CONVEYOR STOP"})
                       .arg(p + 1);
        return false;
    }
    if (p >= 16) {
        image.set(reg::DrainValve, kOff);
        for (int k = 22; k <= 26; ++k) image.set(reg::conveyor(k), kOff);
        image.set(reg::conveyor(21), time);
        image.set(reg::conveyor(6 + p), time);
        return true;
    }
    for (int k = 1; k <= 19; ++k) image.set(reg::conveyor(k), kOff);
    const int split = intWithin(s_.settings.number(SettingsField::ConveyorSplit));
    if (p < split) image.set(reg::conveyor(1), time);
    if (p > split - 1) image.set(reg::conveyor(2), time);
    image.set(reg::conveyor(4 + p), time);
    return true;
}

void BucketTransport::conveyorOff() {
    for (int k = 1; k <= 26; ++k) s_.link.image.set(reg::conveyor(k), kOff);
}

bool BucketTransport::pipeHeadDown() const {
    const MachineInputs& in = s_.link.inputs;
    return in.axesFresh && in.pipeHeadDown;
}

bool BucketTransport::axisIdle(Axis axis) const {
    const MachineInputs& in = s_.link.inputs;
    const bool busy = axis == Axis::X ? in.xBusy : axis == Axis::Y ? in.yBusy : in.zBusy;
    return in.axesFresh && !busy;
}

void BucketTransport::home(Axis axis) {
    if (!axisIdle(axis)) return;
    const AxisRegisters a = registersOf(axis);
    commandAxis(s_.link.image, a.first, 2, 1000, a.homeDistance, 0);
    // The position counts as 0 from now on, before the axis has got there.
    storedPosition(s_.link, axis) = 0;
}

bool BucketTransport::moveTo(Axis axis, double target) {
    if (!axisIdle(axis)) return false;
    constexpr int kMin = std::numeric_limits<qint16>::min();
    constexpr int kMax = std::numeric_limits<qint16>::max();
    if (target != std::floor(target) || target < kMin || target > kMax) return false;
    qint16& stored = storedPosition(s_.link, axis);
    const int delta = int(target) - stored;
    if (delta < -kMax || delta > kMax) return false;
    stored = qint16(target);
    axisMove(registersOf(axis).first, 2000, qint16(delta));
    return true;
}

// A relative move by `distance` (nothing for 0).
void BucketTransport::axisMove(int firstRegister, int speed, qint16 distance) {
    if (distance == 0) return;
    commandAxis(s_.link.image, firstRegister, distance > 0 ? 1 : 2, speed,
                std::abs(qint32(distance)), 1000);
}

void BucketTransport::robotCheckTick() {
    LinkState& l = s_.link;
    // While the robot message waits for the operator the check holds still;
    // every other step of the scan goes on.
    if (l.RobotCheckState == 0 || l.RobotMessageBusy == 9) return;
    l.RobotCheckState += 1;
    const MachineInputs& in = l.inputs;
    // An axis counts as idle only on a current reading that says so.
    const bool xIdle = in.axesFresh && !in.xBusy;
    const bool yIdle = in.axesFresh && !in.yBusy;
    const bool zIdle = in.axesFresh && !in.zBusy;
    switch (l.RobotCheckState) {
        case 2:  // Z runs home first
            commandAxis(l.image, kAxisZ, 2, 1000, 20000, 0);
            l.RobotCheckState = 3;
            break;
        case 5:  // then X, once Z stands still
            if (!zIdle) {
                l.RobotCheckState = 4;
            } else {
                axisMove(kAxisX, 3000, l.MoveX[2]);
                l.RobotCheckState = 6;
            }
            break;
        case 7:  // then Y
            if (!zIdle) {
                l.RobotCheckState = 6;
            } else {
                axisMove(kAxisY, 3000, l.MoveY[2]);
                l.RobotCheckState = 8;
            }
            break;
        case 10:  // Z goes down once X and Y stand still
            if (!(xIdle && yIdle)) {
                l.RobotCheckState = 8;
            } else {
                axisMove(kAxisZ, 2000, l.MoveZ[2]);
                if (l.MoveZ[2] > 0) l.RobotCheckState = 0;
            }
            break;
        case 13:                // a move without a Z descent: the pipe head must not be down
            if (!zIdle) break;  // keeps counting until another part restarts it
            if (in.pipeHeadDown) {
                l.RobotMessageBusy = 9;
                dialogs_.message(QStringLiteral("機械手未插好"), QString(), [this] {
                    s_.link.RobotMessageBusy = 0;
                    s_.link.RobotCheckState = 0;
                });
            } else {
                l.RobotCheckState = 0;
            }
            break;
        default:
            break;
    }
}

}  // namespace dye
