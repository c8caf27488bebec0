#include "TimedRoutine.h"

#include "core/Scheduler.h"
#include "link/AxisCommand.h"
#include "link/LinkState.h"
#include "link/Registers.h"

namespace dye {

bool homingRunning(const LinkState& link, const Timer* timer3) {
    return link.homingCounter != 0 || (timer3 && timer3->enabled());
}

void TimedRoutine::homeAxis(int firstRegister, int distance) {
    commandAxis(l_.image, firstRegister, 2, 1000, distance, 0);
}

void TimedRoutine::tick() {
    l_.homingCounter += 1;
    const int count = l_.homingCounter;
    auto finish = [&] {
        l_.homingCounter = 0;
        // A job-end code of lane 1 not yet sent is not overwritten.
        if (!laneJobEndPending(l_, 1)) {
            l_.image.set(reg::Phase1, 4);
            l_.image.set(reg::Phase1 + 1, 1);
            l_.image.set(reg::Phase1 + 2, 1);
        }
        if (timer_) timer_->setEnabled(false);
    };
    const ScanConfig cfg = scan_.config();
    if (cfg.machineType == 4) {
        if (count == 2)
            for (int k = 1; k <= 20; ++k) l_.image.set(reg::conveyor(k), RegisterImage::RegNoValue);
        if (count == 3) finish();
        return;
    }
    const int delay = l_.homingDelay;
    if (count == 2) {
        homeAxis(kAxisZ, 20000);
        l_.MoveZ[0] = 0;
    }
    if (count == delay + 5) {
        InvalidateWriteSlots(l_, cfg);
        homeAxis(kAxisX, 30000);
        l_.MoveX[0] = 0;
    }
    if (count == delay + 6) {
        InvalidateWriteSlots(l_, cfg);
        homeAxis(kAxisY, 30000);
        l_.MoveY[0] = 0;
    }
    // A negative delay must not leave the routine running for ever.
    if (count >= delay + 15 && count >= 2) finish();
}

}  // namespace dye
