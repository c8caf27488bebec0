#include "TimedRoutine.h"

#include "core/Scheduler.h"
#include "link/ScanCycle.h"
#include "model/StationState.h"

namespace dye {

bool homingRunning(const StationState& state) {
    return state.Timer3Count != 0 || (state.form2.Timer3 && state.form2.Timer3->enabled());
}

void TimedRoutine::homeAxis(int firstRegister, int distance) {
    s_.image.set(firstRegister, 2);
    s_.image.set(firstRegister + 1, 1000);
    s_.image.set(firstRegister + 2, distance);
    s_.image.set(firstRegister + 3, 0);
}

void TimedRoutine::tick() {
    s_.Timer3Count += 1;
    const int count = s_.Timer3Count;
    auto finish = [&] {
        s_.Timer3Count = 0;
        s_.image.set(990, 4);
        s_.image.set(991, 1);
        s_.image.set(992, 1);
        if (s_.form2.Timer3) s_.form2.Timer3->setEnabled(false);
    };
    if (s_.machineType() == 4) {
        if (count == 2)
            for (int r = 901; r <= 920; ++r) s_.image.set(r, RegisterImage::RegNoValue);
        if (count == 3) finish();
        return;
    }
    const int delay = s_.Timer3Delay;
    if (count == 2) {
        homeAxis(716, 20000);
        s_.form2.Label5[1] = QStringLiteral("0");
        s_.MoveZ[0] = 0;
    }
    if (count == delay + 5) {
        InvalidateWriteSlots(s_);
        homeAxis(712, 30000);
        s_.form2.Label5[0] = QStringLiteral("0");
        s_.MoveX[0] = 0;
    }
    if (count == delay + 6) {
        InvalidateWriteSlots(s_);
        homeAxis(708, 30000);
        s_.form2.Label5[1] = QStringLiteral("0");
        s_.MoveY[0] = 0;
    }
    // A negative delay must not leave the routine running for ever.
    if (count >= delay + 15 && count >= 2) finish();
}

}  // namespace dye
