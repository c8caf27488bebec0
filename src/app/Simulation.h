#pragma once

#include <QDir>

#include <functional>
#include <memory>

#include "sim/SimulatedController.h"

namespace dye {

class Port;
class Scheduler;

// The built-in controller simulator of `--simulate`, set up from the working
// directory's settings (machine type, valves per station) and valve table
// (nominal rates), changed by `setup` when given (the command line's
// physics and faults), and reached through loop ports on the station's clock.
class Simulation {
  public:
    Simulation(Scheduler& scheduler, const QDir& workdir, quint64 seed,
               const std::function<void(SimOptions&)>& setup = {});
    SimulatedController& controller() { return *controller_; }
    // A new port wired to the simulator.
    std::unique_ptr<Port> makePort();

  private:
    Scheduler& scheduler_;
    std::unique_ptr<SimulatedController> controller_;
};

}  // namespace dye
