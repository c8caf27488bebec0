#pragma once

#include <memory>

#include "core/Scheduler.h"
#include "link/LoopPort.h"
#include "screens/linktest/Form1.h"
#include "sim/SimulatedController.h"

namespace dye::test {

// The link test screen on the simulator, in virtual time, with its port open.
struct LinkTestBench {
    Scheduler scheduler;
    SimulatedController sim;
    Form1 form{scheduler, [this] { return std::unique_ptr<Port>(new LoopPort(scheduler, sim)); }};
    LinkTestBench() {
        form.load();
        form.connectPort();
    }
    void waitForAnswer() { scheduler.advance(200); }
};

}  // namespace dye::test
