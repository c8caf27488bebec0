#pragma once

#include <QString>
#include <QStringList>

#include <random>

#include "sim/SimOptions.h"

namespace dye {
class SimulatedController;
}

namespace dye::soak {

struct SoakMachine;

// The controller faults of one seed: reply faults at small rates for the
// whole shift, and spells (a silent controller, a stuck valve, an overloaded
// balance, a blocked drain) at instants of the shift's machine time.
class SoakFaults {
  public:
    // No faults at all when `on` is false.
    SoakFaults(std::mt19937& random, const SoakMachine& machine, qint64 shiftMs, bool on);

    // The reply faults every simulator of the shift starts with.
    void applyTo(SimFaults& faults) const;
    // Starts and ends the spells due at `shiftMs` on `sim`; their changes
    // are noted in `events`.
    void step(qint64 shiftMs, SimulatedController& sim, QStringList& events);
    bool overloaded() const { return overload_.on; }
    QString describe() const;

  private:
    struct Spell {
        qint64 from = -1;
        qint64 length = 0;
        bool on = false;
        // Whether the spell should be on at `ms`; true when that changes.
        bool flip(qint64 ms);
    };
    SimFaults replies_;
    Spell silent_, stuck_, overload_, drain_;
    int stuckValve_ = 0;
    int overloadBalance_ = 1;
};

}  // namespace dye::soak
