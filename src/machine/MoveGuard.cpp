#include "MoveGuard.h"

#include "station/StationState.h"

namespace dye {

QString moveRefusal(const StationState& s) {
    if (s.onMachine()) return QStringLiteral("a job is on the machine");
    for (int n : {1, 2})
        if (s.station[size_t(n)].StationStep != 0)
            return QStringLiteral("station %1 is metering").arg(n);
    if (s.wash.WashPhase != 0) return QStringLiteral("a wash is running");
    if (s.link.RobotCheckState != 0) return QStringLiteral("the gantry is moving to a place");
    if (homingRunning(s)) return QStringLiteral("the axes are homing");
    // The busy flags count only while the scan reads the axes.
    const MachineInputs& in = s.link.inputs;
    if (in.axesFresh && in.xBusy) return QStringLiteral("the X axis is moving");
    if (in.axesFresh && in.yBusy) return QStringLiteral("the Y axis is moving");
    if (in.axesFresh && in.zBusy) return QStringLiteral("the Z axis is moving");
    return QString();
}

}  // namespace dye
