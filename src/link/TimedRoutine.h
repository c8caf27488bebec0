#pragma once

namespace dye {

struct StationState;

// The one-second routine on Form2.Timer3: runs the axes home after start-up
// and after every switch-off of the outputs, then sends the phase codes
// D990..D992 = 4, 1, 1 and disables itself.
class TimedRoutine {
  public:
    explicit TimedRoutine(StationState& state) : s_(state) {}
    void tick();

  private:
    void homeAxis(int firstRegister, int distance);
    StationState& s_;
};

// The axis-zero routine counts as running from the moment it is armed, so no
// job is taken in the second before its first tick.
bool homingRunning(const StationState& state);

}  // namespace dye
