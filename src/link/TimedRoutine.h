#pragma once

#include <functional>

#include "link/ScanCycle.h"

namespace dye {

class Timer;
struct LinkState;

// The one-second routine on Form2.Timer3: runs the axes home after start-up
// and after every switch-off of the outputs, then sends the phase codes
// D990..D992 = 4, 1, 1 and disables itself.
class TimedRoutine {
  public:
    TimedRoutine(LinkState& link, const ScanCycle& scan) : l_(link), scan_(scan) {}
    // The timer that runs the routine (it disables it when done).
    void setTimer(Timer* timer) { timer_ = timer; }
    void tick();

  private:
    void homeAxis(int firstRegister, int distance);
    LinkState& l_;
    const ScanCycle& scan_;
    Timer* timer_ = nullptr;
};

// The axis-zero routine counts as running from the moment it is armed, so no
// job is taken in the second before its first tick.
bool homingRunning(const LinkState& link, const Timer* timer3);

}  // namespace dye
