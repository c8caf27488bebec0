#include "HandWash.h"

#include "core/Dialogs.h"
#include "files/language/Wording.h"
#include "machine/MoveGuard.h"
#include "machine/WashSequence.h"
#include "station/StationState.h"

namespace dye {

bool machineWashes(int machineType) {
    return machineType == 1 || machineType == 3 || machineType == 4;
}

QString handWashRefusal(const StationState& s) {
    const int type = s.machineType();
    const int language = s.settings.language();
    if (!machineWashes(type))
        return wordingIn(language, {u"機型 %1 沒有洗桶（只有機型 1、3、4 洗桶）",
                                    u"machine type %1 has no bucket wash (only types 1, 3 and 4 "
                                    u"wash)"})
            .arg(type);
    if (s.onMachine()) return wordingIn(language, {u"機台上有工作", u"a job is on the machine"});
    if (s.bucketHoldsJob)
        return wordingIn(
            language, {u"桶內有已停止或中斷之工作的原料；請按 RUN 繼續該工作，或先換新桶重新開始",
                       u"the bucket holds the products of a job that was stopped or "
                       u"interrupted; run the job to go on with it, or start it over in a new "
                       u"bucket first"});
    if (s.wash.WashPhase != 0) return wordingIn(language, {u"正在洗桶", u"a wash is running"});
    return {};
}

bool requestHandWash(StationState& state, Dialogs& dialogs) {
    if (const QString why = handWashRefusal(state); !why.isEmpty()) {
        dialogs.message(state.say({u"不洗桶：%1。", u"The bucket is not washed: %1."}).arg(why),
                        QString(), [] {});
        return false;
    }
    state.wash.request(0, 1, 0);
    return true;
}

}  // namespace dye
