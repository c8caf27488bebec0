#include "MoveGuard.h"

#include "station/StationState.h"

namespace dye {

QString moveRefusal(const StationState& s) {
    const auto no = [](const QString& why) { return QStringLiteral("No move: %1.").arg(why); };
    if (s.TransferActive != 0) return no(QStringLiteral("a job is being dispensed"));
    for (int n : {1, 2})
        if (s.station[size_t(n)].StationStep != 0)
            return no(QStringLiteral("station %1 is metering").arg(n));
    if (s.wash.WashPhase != 0) return no(QStringLiteral("a wash is running"));
    if (s.link.RobotCheckState != 0) return no(QStringLiteral("the gantry is moving to a slot"));
    if (homingRunning(s)) return no(QStringLiteral("the axes are running home"));
    const MachineInputs& in = s.link.inputs;
    if (in.axesFresh) {
        const char* const names[] = {"X", "Y", "Z"};
        const bool busy[] = {in.xBusy, in.yBusy, in.zBusy};
        for (int a = 0; a < 3; ++a)
            if (busy[a]) return no(QStringLiteral("the %1 axis is moving").arg(names[a]));
    }
    return {};
}

}  // namespace dye
