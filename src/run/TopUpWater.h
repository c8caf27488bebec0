#pragma once

#include <QtGlobal>

#include "link/Registers.h"
#include "run/RunContext.h"
#include "run/WaterFlow.h"
#include "run/WaterLearning.h"

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

// The top-up water of a job on balance 1. A pipe whose rate the station has
// learned gets a timed opening, stopped early by the pipe's learned run-on
// (the described 2000 units until the run-on is learned); a pipe with no
// learned rate stays open until the balance has risen to the amount less the
// described allowance, or to its half when the amount is large. Each opening
// settles and teaches the pipe its rate (and a timed one its run-on); while
// more than a small share of the amount is missing, another timed opening
// gives it (three openings at most). Then the actual water shows what was
// given. A job whose water already reached its amount gets no top-up; one
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
    // True once the opening under way has been stopped.
    bool stopWhenReached();
    // True once the last opening has settled and the job's actual water is
    // the water given; an opening made for what is still missing runs inside it.
    bool settled();
    void reset();
    qint64 base() const { return base_; }

  private:
    double reading() const;
    qint64 readAt() const;
    void open(int value);
    bool openStage(double want, bool sayWhy);
    void sayOver(double asked, double given);
    void learn(double delivered);
    void watchFlow();

    RunContext& c_;
    bool logLines_;
    WaterLearning learning_;
    WaterFlow flow_;
    int pipe_ = reg::WaterValve;
    qint64 target_ = 0;
    qint64 base_ = 0;       // the reading before the top-up
    qint64 stageBase_ = 0;  // and before its opening under way
    int stages_ = 0;
    double untimedStop_ = 0;  // what an untimed opening gives before it is stopped
    qint64 probeUntil_ = -1;  // or the moment it is stopped
    double stopGiven_ = 0;    // what the opening had given when it was stopped
    double afterStop_ = 0;    // and what came after an untimed one was stopped
    double allowance_ = 0;
    int timed_ = 0;         // hundredths of the timed opening; 0 open until stopped
    double openYield_ = 0;  // what the timed opening gives before its valve closes
    qint64 openedAt_ = -1;
    qint64 stoppedAt_ = -1;
    bool opened_ = false;  // the top-up opened the water at all
    bool open_ = false;    // an opening is under way
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
