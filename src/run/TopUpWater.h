#pragma once

#include <QtGlobal>

#include "run/RunContext.h"
#include "run/WaterFlow.h"
#include "run/WaterLearning.h"

namespace dye {

struct Form3;
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
// The actual water on the main screen (and so in the record) marked as off
// its amount: the whole number stays first, so readers still read it.
void markWaterOff(Form3& f);

// The top-up water of a job on balance 1. A pipe whose rate the station has
// learned gets one timed opening, stopped early by the pipe's learned run-on
// (the described 2000 units until the run-on is learned); a pipe with no
// learned rate stays open until the balance has risen to the amount less the
// described allowance. Then the reading settles and the actual water shows
// what was given. Every undisturbed top-up teaches the pipe its rate and
// run-on. A job whose water already reached its amount gets no top-up; one
// that went beyond it is said on the run indicator and in the event log,
// and its actual water is marked.
class TopUpWater {
  public:
    // `logLines`: the "< take water >" and "< water stop >" event-log lines.
    TopUpWater(RunContext& c, bool logLines);

    // Opens the water; the reading now is the top-up base. While the water
    // is open and balance 1 does not rise, the operator is told once that no
    // water comes (the top-up goes on when it does).
    void start();
    // Goes on from a top-up that was under way (a link loss or a resume),
    // from `base`, with the water open until the described allowance.
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
    qint64 readAt() const;
    void open(int value);
    void sayOver(double asked, double given);
    void learn(double delivered);
    void watchFlow();

    RunContext& c_;
    bool logLines_;
    WaterLearning learning_;
    WaterFlow flow_;
    int pipe_ = 985;
    qint64 target_ = 0;
    qint64 base_ = 0;
    double allowance_ = 0;
    int timed_ = 0;         // hundredths of the timed opening; 0 open until stopped
    double openYield_ = 0;  // what the timed opening gives before its valve closes
    qint64 openedAt_ = -1;
    qint64 stoppedAt_ = -1;
    bool opened_ = false;
    bool disturbed_ = false;
    bool over_ = false;
    int settleCount_ = 0;
    double lastSettle_ = 0;
    // The water watch: ticks since the reading was last seen rising, the
    // reading then, and whether the operator was told that no water comes.
    int flowTicks_ = 0;
    double flowFrom_ = 0;
    bool noWaterShown_ = false;
};

}  // namespace dye
