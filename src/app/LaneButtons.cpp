#include "LaneButtons.h"

#include <QTextStream>

#include <array>
#include <atomic>
#include <csignal>

#include "app/Station.h"
#include "sim/SimulatedController.h"

namespace dye {
namespace {

std::array<std::atomic<bool>, 2> lanePressed{};

void onLaneSignal(int signal) {
    lanePressed[signal == SIGUSR2 ? 1 : 0].store(true);
}

}  // namespace

void pressLaneButtonsOnSignals(Station& station) {
    // Buttons pressed by themselves need no one to press them.
    SimulatedController* sim = station.simulator();
    if (!sim || sim->options().physics.laneReadyAuto) return;
    std::signal(SIGUSR1, onLaneSignal);
    std::signal(SIGUSR2, onLaneSignal);
    // A signal handler may only set the flags; the press happens on a tick.
    station.scheduler.addTimer(QStringLiteral("LaneButtons"), 100, true, [&station, sim] {
        for (int lane : {1, 2}) {
            if (!lanePressed[size_t(lane - 1)].exchange(false)) continue;
            sim->machine().pressLaneReady(lane);
            station.log(QStringLiteral("<sim> bucket ready on lane %1").arg(lane));
        }
    });
}

}  // namespace dye
