#pragma once

#include <functional>
#include <memory>

#include "machine/Mixers.h"

namespace dye {

class PlantService;
class JobFile;
struct StationState;

// The main screen's status timer (Form3.Timer4, 3 s): brings up the
// identifier entry while AUTO IN is ticked, retries the write-back outbox,
// posts the DRAYMOR machine status every 11th tick (one post at a time),
// and while MIX ON is ticked gives the mixers their step.
class StatusTimer {
  public:
    StatusTimer(StationState& state, PlantService& plant, std::function<bool()> jobLoaded,
                std::function<int()> queueLength, std::function<void()> showEntry);

    void tick();

    Mixers& mixers() { return mixers_; }
    int mixCount() const { return mixers_.mixCount(); }
    int idleCount() const { return mixers_.idleCount(); }
    int mixerPosition() const { return mixers_.mixerPosition(); }
    void startIdleMixing() { mixers_.startIdleMixing(); }
    void restartMixCount() { mixers_.restartMixCount(); }

  private:
    void postStatus();

    StationState& s_;
    PlantService& plant_;
    std::function<bool()> jobLoaded_;
    std::function<int()> queueLength_;
    std::function<void()> showEntry_;
    Mixers mixers_;
    // A status post was handed to the database and has not come back; shared
    // with its answer, which may come after this timer is gone.
    std::shared_ptr<bool> postInFlight_ = std::make_shared<bool>(false);
};

}  // namespace dye
