#pragma once

#include <QDateTime>

#include <array>
#include <functional>

#include "run/JobCompletion.h"
#include "run/JobJournal.h"
#include "run/JobResume.h"
#include "run/OrderListFeed.h"
#include "run/RunContext.h"
#include "run/TopUpWater.h"
#include "run/TwoBalanceLane.h"

namespace dye {

// The two-balance dispensing sequence of machine types 2 and 5 (Form3.Timer3,
// 500 ms): lane 1 dispenses the grid rows of balance 1 on station 1 while
// lane 2 dispenses those of balance 2 on station 2. Each lane's step counter
// advances while its own station is idle, so one lane never waits for the
// other's metering.
//
// Lane steps:
//   2   zero the balance (tare, phase 4 / 1 / 1), the station's valves off
//   4   the lane's rows: every grid row whose balance column is the lane's
//   6   no rows: finished (step and pointer 99); else phase 30 / 30 / 1
//   8   waits for the lane's bucket ready signal; then tare, go signal, 25
//   25..29  a pause, so that a tare is carried out before the next
//       metering takes its zero
//   30  the next row: metering on the lane's station (valve = the row's
//       tube, target = recipe weight - the lane's base), row orange; or,
//       with no row left, the lane is finished
//   (metering ended) its final weight + base is the row's actual weight;
//       a full bucket (type 2) keeps what was metered as the base and asks
//       for a new bucket; so does settings field 8 after every row but the
//       last; otherwise phase 30 / 1 / 1 and a tare, and on from 25
//   40  a new bucket: phase 40 / 40 / 1, go signal off, status 66
//   45  waits for the lane's bucket ready signal; then go signal, tare,
//       phase 30 / 1 / 1, and on from 25, where the rest of the row is metered
// After lane 1 has finished, a job with a water amount gets its top-up water
// on balance 1; once both lanes and the water are done the job ends.
class TwoBalanceSequence {
  public:
    explicit TwoBalanceSequence(RunContext ctx);

    void tick();
    // Every lane and figure back to 0 (the stop commands).
    void reset();
    void setFinishedObserver(std::function<void(const FinishedJob&)> fn) {
        finished_ = std::move(fn);
    }

    const Lane& lane(int n) const { return lanes_[n == 2 ? 1 : 0]; }
    // 0 not yet, 109 / 119 / 129 the top-up water, 199 done.
    int waterPhase() const { return WaterPhase; }

  private:
    void display();
    void liveWeights();
    bool waitingReason();
    void advance(Lane& l);
    void split(Lane& l);
    void prepare(Lane& l);
    bool waitReady(Lane& l);
    void nextRow(Lane& l);
    void takeResult(Lane& l);
    void askBucket(Lane& l);
    void markDyeMix(Lane& l, int row);
    void water();
    void endOfJob();
    void clearJob();
    void applyResume(const JournalState& j);
    void keepLane(const Lane& l);
    void status(int k);
    void laneIndicator();
    double reading(int balance) const;

    RunContext c_;
    std::array<Lane, 2> lanes_{Lane(1), Lane(2)};
    int WaterPhase = 0;
    JournalState journal_;
    JobResume resume_;
    TopUpWater topUp_;
    OrderListFeed feed_;
    bool heldByLink_ = false;
    QDateTime startedAt_;
    std::function<void(const FinishedJob&)> finished_;
};

}  // namespace dye
