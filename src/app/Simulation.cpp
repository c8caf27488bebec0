#include "Simulation.h"

#include "link/LoopPort.h"
#include "sim/SimOptions.h"

namespace dye {

Simulation::Simulation(Scheduler& scheduler, const QDir& workdir, quint64 seed,
                       const std::function<void(SimOptions&)>& setup)
    : scheduler_(scheduler) {
    SimOptions options;
    options.seed = seed;
    loadMachineSettings(workdir.absolutePath(), options);
    loadValveRates(workdir.absolutePath(), options);
    if (setup) setup(options);
    controller_ = std::make_unique<SimulatedController>(options);
}

std::unique_ptr<Port> Simulation::makePort() {
    return std::make_unique<LoopPort>(scheduler_, *controller_);
}

}  // namespace dye
