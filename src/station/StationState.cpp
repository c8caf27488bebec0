#include "StationState.h"

#include "core/Scheduler.h"
#include "link/TimedRoutine.h"

namespace dye {

ScanConfig scanConfig(StationState& state) {
    ScanConfig cfg;
    cfg.machineType = state.machineType();
    cfg.language = state.settings.language();
    if (cfg.machineType != 5 && state.settings.Text1(SettingsField::ValvesPerStation).isEmpty())
        state.settings.setText1(SettingsField::ValvesPerStation, QStringLiteral("5"));
    cfg.profile = state.settings.Text1(SettingsField::SiteProfile);
    cfg.valvesPerStation = state.settings.Text1(SettingsField::ValvesPerStation);
    for (int n : {1, 2}) {
        const int field = n == 1 ? 34 : 35;
        if (!state.settings.Text1(field).isEmpty())
            cfg.factor[size_t(n)] = state.settings.number(field);
    }
    return cfg;
}

void InvalidateWriteSlots(StationState& state) {
    InvalidateWriteSlots(state.link, scanConfig(state));
    if (state.timers.homing) state.timers.homing->setEnabled(true);
}

bool homingRunning(const StationState& state) {
    return homingRunning(state.link, state.timers.homing);
}

void armHoming(StationState& state) {
    if (state.machineType() == 4 || !state.timers.homing) return;
    state.timers.homing->setInterval(1000);
    state.timers.homing->setEnabled(true);
}

RunOptions StationState::options() const {
    RunOptions o;
    o.waterThroughD851 = form2.Check2;
    o.identifierEntry = form3.Check2.Value == 1;
    o.mixers = form3.Check3.Value == 1;
    o.preWash = form3.Check4.Value;
    o.removeFinished = form3.Check6.Value;
    return o;
}

}  // namespace dye
