#pragma once

#include <QtGlobal>

#include "run/RunContext.h"

namespace dye {

struct StationState;

// The water register: D851 when the settings form's "D985" box is checked,
// otherwise D985.
int waterRegister(const StationState& s);

// A balance reading or a water amount as whole units, kept within 10^12
// either way (far beyond any balance) so that sums and differences of them
// never overflow, whatever a file or a screen held.
qint64 wholeReading(double value);

// Writes an event-log line when the water given lies further off the amount
// asked than the station's water bound; true when it did.
bool flagWaterOff(RunContext& c, double asked, double given);

// The top-up water of a job on balance 1: the water opens until the balance
// has risen to the job's water amount less the actual water already given
// (stopped 2000 units early, for what runs on from the pipe), then the
// reading settles for ten ticks and the actual water shows what was given.
class TopUpWater {
  public:
    // `logLines`: the "< take water >" and "< water stop >" event-log lines.
    TopUpWater(RunContext& c, bool logLines) : c_(c), logLines_(logLines) {}

    // Opens the water; the reading now is the top-up base. While the water
    // is open and balance 1 does not rise, the operator is told once that no
    // water comes (the top-up goes on when it does).
    void start();
    // Goes on from a top-up that was under way (a link loss or a resume),
    // from `base`.
    void reopen(qint64 base);
    // The water closed while its balance cannot be read (an overload: the
    // controller keeps it open otherwise); reopen() goes on after.
    void hold();
    // True once the water has been stopped.
    bool stopWhenReached();
    // True once the reading has settled and Label7 shows the water given.
    bool settled();
    void reset();
    qint64 base() const { return base_; }

  private:
    double reading() const;

    RunContext& c_;
    bool logLines_;
    qint64 target_ = 0;
    qint64 base_ = 0;
    int settleCount_ = 0;
    // The water watch: ticks since the reading was last seen rising, the
    // reading then, and whether the operator was told that no water comes.
    int flowTicks_ = 0;
    double flowFrom_ = 0;
    bool noWaterShown_ = false;
    void watchFlow();
};

}  // namespace dye
