#include "run/RunBlocked.h"

#include "core/Scheduler.h"
#include "files/language/Wording.h"
#include "files/settings/SettingRanges.h"
#include "station/StationState.h"

namespace dye {

QString runBlockedReason(const StationState& state) {
    const int language = state.settings.language();
    const auto say = [language](const Wording& w) { return wordingIn(language, w); };
    const int type = state.machineType();
    if (type < 1 || type > 5)
        return say({u"機型「%1」（設定 5）不是 1 到 "
                    u"5：不會開始運轉。請在設定畫面設定機型後重新啟動。",
                    u"Machine type \"%1\" (setting 5) is not 1 to 5: no run is armed. Set the "
                    u"machine type on the settings screen and start the station again."})
            .arg(state.settings.Text1(SettingsField::MachineType).trimmed());
    if (state.settingsLoadFailed || !state.timers.scan || !state.timers.scan->enabled() ||
        state.timers.scan->interval() <= 0)
        return say(
            {u"與控制器的連線沒有運作（見事件記錄）：不接工作。請在設定畫面檢查通訊埠與"
             u"掃描間隔，然後重新啟動。",
             u"The controller link is not running (see the event log): no job is taken. "
             u"Check the port and the scan interval on the settings screen, then start "
             u"the station again."});
    const LinkHealth& link = state.link.health;
    if (!link.up())
        return say({u"控制器沒有回應（%1）：在它再次回應且確認連線警報之前，不接工作。",
                    u"The controller does not answer (%1): no job is taken until it answers "
                    u"again and the link alarm is acknowledged."})
            .arg(link.reason());
    if (!link.acknowledged())
        return say({u"控制器已再次回應：請確認連線警報以繼續。",
                    u"The controller answers again: acknowledge the link alarm to go on."});
    if (const QString why = undrivableReason(state.settings); !why.isEmpty())
        return say({u"設定無法驅動機台：%1。不接工作：請在設定畫面更正。",
                    u"The settings cannot drive the machine: %1. No job is taken: correct it "
                    u"on the settings screen."})
            .arg(why);
    return {};
}

QString balanceHeldReason(const StationState& state, const QString& order,
                          std::initializer_list<int> balances) {
    if (!state.linkUsable()) return {};
    const int language = state.settings.language();
    for (int n : balances) {
        const BalanceInput& b = state.balance(n);
        if (!b.overload) continue;
        return (b.negative
                    ? wordingIn(
                          language,
                          {u"單號 %1 暫停：第 %2 號天平讀數遠低於零點（歸零後秤上的東西被拿走）。"
                           u"請停止運轉，在設定畫面將第 %2 號天平歸零，再按 RUN 繼續。",
                           u"Job %1 is held: balance %2 reads far below its zero (a load "
                           u"was taken off after it was zeroed). Stop the run, zero balance "
                           u"%2 on the settings screen and run again to go on."})
                    : wordingIn(language, {u"單號 %1 暫停：第 %2 號天平超過秤量。請把第 %2 號天平上"
                                           u"的東西拿下；讀數恢復後工作繼續。",
                                           u"Job %1 is held: balance %2 reads over its range. "
                                           u"Take the load off balance %2; the job goes on when "
                                           u"it reads again."}))
            .arg(order)
            .arg(n);
    }
    return {};
}

}  // namespace dye
