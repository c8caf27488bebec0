#pragma once

#include <QDir>
#include <QString>
#include <functional>

namespace dye {

struct StationState;

// The mixers, driven while MIX ON is ticked, one step per status tick: the
// TALBERT special registers, the mixer positions of PELKO and type-5
// machines (those marked in MIX_C.txt at full speed) and, after six idle
// hours, the idle mixing cycle.
class Mixers {
  public:
    Mixers(StationState& state, QDir workdir, std::function<void(const QString&)> log);

    void tick(bool jobLoaded);

    int mixCount() const { return mixCount_; }
    int idleCount() const { return idleCount_; }
    int mixerPosition() const { return mixerPosition_; }
    // The idle count at six hours: the idle mixing cycle starts at the next
    // tick when its other conditions hold.
    void startIdleMixing() { idleCount_ = 7200; }
    // The mixer count from 0 again (the operator cleared the mix marks).
    void restartMixCount() { mixCount_ = 0; }

  private:
    void talbertSpecials();
    void mixers(bool jobLoaded);
    void idleMixing(bool jobLoaded);

    StationState& s_;
    QDir workdir_;
    std::function<void(const QString&)> log_;
    int mixCount_ = 1;       // status ticks while idle, 1..310 (its own count, not Label13's)
    int idleCount_ = 0;      // idle ticks, 0..10000
    int mixerPosition_ = 0;  // 0, or the output register of the position being mixed
    int idleCycle_ = 0;      // the idle mixing cycle's step
};

}  // namespace dye
