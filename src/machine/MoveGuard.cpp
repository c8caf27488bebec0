#include "MoveGuard.h"

#include "files/language/Wording.h"
#include "station/StationState.h"

namespace dye {

QString moveRefusal(const StationState& s) {
    const int language = s.settings.language();
    const auto say = [language](const Wording& w) { return wordingIn(language, w); };
    if (s.onMachine()) return say({u"機台上有工作", u"a job is on the machine"});
    for (int n : {1, 2})
        if (s.station[size_t(n)].StationStep != 0)
            return say({u"第 %1 站正在計量", u"station %1 is metering"}).arg(n);
    if (s.wash.WashPhase != 0) return say({u"正在洗桶", u"a wash is running"});
    if (s.link.RobotCheckState != 0)
        return say({u"行車正在移往位置", u"the gantry is moving to a place"});
    if (homingRunning(s)) return say({u"各軸正在歸零", u"the axes are homing"});
    // The busy flags count only while the scan reads the axes.
    const MachineInputs& in = s.link.inputs;
    for (const auto& [busy, axis] : {std::pair{in.xBusy, u'X'}, {in.yBusy, u'Y'}, {in.zBusy, u'Z'}})
        if (in.axesFresh && busy)
            return say({u"%1 軸正在移動", u"the %1 axis is moving"}).arg(QChar(axis));
    return QString();
}

QString noMoveText(const StationState& s, const QString& why) {
    return s.say({u"不移動：%1。", u"No move: %1."}).arg(why);
}

}  // namespace dye
