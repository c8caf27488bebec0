#pragma once

#include <functional>
#include <memory>

namespace dye {

class PlantService;
class JobFile;
struct StationState;

// The main screen's status timer (Form3.Timer4, 3 s): brings up the
// identifier entry while AUTO IN is ticked, retries the write-back outbox,
// posts the DRAYMOR machine status every 11th tick (one post at a time),
// and while MIX ON is ticked drives the TALBERT special registers, the
// mixers of PELKO and type-5 machines and the idle mixing cycle.
class StatusTimer {
  public:
    StatusTimer(StationState& state, PlantService& plant, std::function<bool()> jobLoaded,
                std::function<int()> queueLength, std::function<void()> showEntry);

    void tick();

    int mixCount() const { return mixCount_; }
    int idleCount() const { return idleCount_; }
    int mixerPosition() const { return mixerPosition_; }
    // The idle count at six hours: the idle mixing cycle starts at the next
    // tick when its other conditions hold.
    void startIdleMixing() { idleCount_ = 7200; }
    // The mixer count from 0 again (the operator cleared the mix marks).
    void restartMixCount() { mixCount_ = 0; }

  private:
    void postStatus();
    void talbertSpecials();
    void mixers();
    void idleMixing();

    StationState& s_;
    PlantService& plant_;
    std::function<bool()> jobLoaded_;
    std::function<int()> queueLength_;
    std::function<void()> showEntry_;
    int mixCount_ = 1;       // status ticks while idle, 1..310 (its own count, not Label13's)
    int idleCount_ = 0;      // Label20: idle ticks, 0..10000
    int mixerPosition_ = 0;  // 0, or the output register of the position being mixed
    int idleCycle_ = 0;      // the idle mixing cycle's step
    // A status post was handed to the database and has not come back; shared
    // with its answer, which may come after this timer is gone.
    std::shared_ptr<bool> postInFlight_ = std::make_shared<bool>(false);
};

}  // namespace dye
