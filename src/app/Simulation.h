#pragma once

#include <QDir>

#include <memory>

#include "sim/SimulatedController.h"

namespace dye {

class Port;
class Scheduler;

// The built-in controller simulator of `--simulate`, set up from the working
// directory's settings (machine type, valves per station) and valve table
// (nominal rates), and reached through loop ports on the station's clock.
class Simulation {
  public:
    Simulation(Scheduler& scheduler, const QDir& workdir, quint64 seed);
    SimulatedController& controller() { return *controller_; }
    // A new port wired to the simulator.
    std::unique_ptr<Port> makePort();

  private:
    Scheduler& scheduler_;
    std::unique_ptr<SimulatedController> controller_;
};

}  // namespace dye
