#pragma once

#include <random>

#include "link/LoopPeer.h"
#include "sim/FrameResponder.h"
#include "sim/MachineModel.h"
#include "sim/RegisterMemory.h"
#include "sim/SimOptions.h"

namespace dye {

// The controller simulator: takes the station's characters, answers its read
// and write frames from its D registers, and runs the machine model on the
// same clock. It is a LoopPeer, so a LoopPort wires it into a station in the
// same process; dyesim serves it on a pseudo-terminal.
//
//     SimOptions options;
//     options.machineType = 2;
//     loadValveRates(workdir, options);        // nominal rates from AA_Name.txt
//     SimulatedController controller(options);
//     LoopPort port(scheduler, controller);
//     port.open("SIM", "19200,E,7,1");
class SimulatedController : public LoopPeer {
  public:
    explicit SimulatedController(SimOptions options = {});
    SimulatedController(const SimulatedController&) = delete;
    SimulatedController& operator=(const SimulatedController&) = delete;

    // LoopPeer: times in microseconds.
    void advanceTo(qint64 us) override;
    LoopAnswer receive(char c, qint64 us) override;

    // Options, physics and faults may be changed at any time.
    SimOptions& options() { return options_; }
    SimFaults& faults() { return options_.faults; }
    MachineModel& machine() { return machine_; }
    const RegisterMemory& memory() const { return memory_; }
    // A register as a read would report it now.
    quint16 reg(int d);
    qint32 reg32(int d);
    // Puts `counts` more content into the bucket on `balance` at once: with a
    // count above the station's bucket limit, an overfull bucket.
    void overfillBucket(int balance, double counts) { machine_.addContent(balance, counts); }

    struct Counters {
        int frames = 0;     // well-formed frames taken
        int badFrames = 0;  // frames ignored (sum, command, range, data)
        int replies = 0;    // answers sent (whole or damaged)
        int dropped = 0;
        int cut = 0;
        int corrupted = 0;
        int late = 0;
    };
    const Counters& counters() const { return counters_; }

  private:
    LoopAnswer answer(const SimRequest& request);
    // Applies the reply faults to an answer.
    void damage(LoopAnswer& reply);
    bool draw(double rate);

    SimOptions options_;
    RegisterMemory memory_;
    MachineModel machine_;
    FrameAssembler assembler_;
    std::mt19937_64 faultDraws_;
    Counters counters_;
};

}  // namespace dye
