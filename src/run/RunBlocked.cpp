#include "run/RunBlocked.h"

#include "core/Scheduler.h"
#include "files/settings/SettingRanges.h"
#include "station/StationState.h"

namespace dye {

QString runBlockedReason(const StationState& state) {
    const int type = state.machineType();
    if (type < 1 || type > 5)
        return QStringLiteral(
                   "Machine type \"%1\" (setting 5) is not 1 to 5: no run is armed. Set the "
                   "machine type on the settings screen and start the station again.")
            .arg(state.settings.Text1(SettingsField::MachineType).trimmed());
    if (state.settingsLoadFailed || !state.timers.scan || !state.timers.scan->enabled() ||
        state.timers.scan->interval() <= 0)
        return QStringLiteral(
            "The controller link is not running (see the event log): no job is taken. Check "
            "the port and the scan interval on the settings screen, then start the station "
            "again.");
    const LinkHealth& link = state.link.health;
    if (!link.up())
        return QStringLiteral(
                   "The controller does not answer (%1): no job is taken until it answers "
                   "again and the link alarm is acknowledged.")
            .arg(link.reason());
    if (!link.acknowledged())
        return QStringLiteral("The controller answers again: acknowledge the link alarm to go on.");
    if (const QString why = undrivableReason(state.settings); !why.isEmpty())
        return QStringLiteral(
                   "The settings cannot drive the machine: %1. No job is taken: correct it on "
                   "the settings screen.")
            .arg(why);
    return {};
}

QString balanceHeldReason(const StationState& state, const QString& order,
                          std::initializer_list<int> balances) {
    if (!state.linkUsable()) return {};
    for (int n : balances) {
        const BalanceInput& b = state.balance(n);
        if (!b.overload) continue;
        return b.negative ? QStringLiteral(
                                "Job %1 is held: balance %2 reads far below its zero (a load was "
                                "taken off after it was zeroed). Stop the run, zero balance %2 on "
                                "the settings screen and run again to go on.")
                                .arg(order)
                                .arg(n)
                          : QStringLiteral(
                                "Job %1 is held: balance %2 reads over its range. Take the load "
                                "off balance %2; the job goes on when it reads again.")
                                .arg(order)
                                .arg(n);
    }
    return {};
}

}  // namespace dye
