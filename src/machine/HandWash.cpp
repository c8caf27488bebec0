#include "HandWash.h"

#include "core/Dialogs.h"
#include "machine/MoveGuard.h"
#include "machine/WashSequence.h"
#include "station/StationState.h"

namespace dye {

bool machineWashes(int machineType) {
    return machineType == 1 || machineType == 3 || machineType == 4;
}

QString handWashRefusal(const StationState& s) {
    const int type = s.machineType();
    if (!machineWashes(type))
        return QStringLiteral("machine type %1 has no bucket wash (only types 1, 3 and 4 wash)")
            .arg(type);
    if (s.onMachine()) return QStringLiteral("a job is on the machine");
    if (s.bucketHoldsJob)
        return QStringLiteral(
            "the bucket holds the products of a job that was stopped or interrupted; run the job "
            "to go on with it, or start it over in a new bucket first");
    if (s.wash.WashPhase != 0) return QStringLiteral("a wash is running");
    return {};
}

bool requestHandWash(StationState& state, Dialogs& dialogs) {
    if (const QString why = handWashRefusal(state); !why.isEmpty()) {
        dialogs.message(QStringLiteral("The bucket is not washed: %1.").arg(why), QString(), [] {});
        return false;
    }
    state.wash.request(0, 1, 0);
    return true;
}

}  // namespace dye
