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
    if (!station.simulator()) return;
    std::signal(SIGUSR1, onLaneSignal);
    std::signal(SIGUSR2, onLaneSignal);
    // A signal handler may only set the flags; the press happens on a tick.
    station.scheduler.addTimer(QStringLiteral("LaneButtons"), 100, true, [&station] {
        for (int lane : {1, 2}) {
            if (!lanePressed[size_t(lane - 1)].exchange(false)) continue;
            station.simulator()->machine().pressLaneReady(lane);
            station.log(QStringLiteral("<sim> bucket ready on lane %1").arg(lane));
        }
    });
}

}  // namespace dye
