#pragma once

#include <QDateTime>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

#include "run/BaseWater.h"
#include "run/JobCompletion.h"
#include "run/JobJournal.h"
#include "run/JobResume.h"
#include "run/OrderListFeed.h"
#include "run/RunContext.h"
#include "run/TopUpWater.h"
#include "station/CurrentJob.h"

namespace dye {

// The transfer and dispensing sequence of the one-balance machines (types 1,
// 3 and 4; TransferTimer, Form3.Timer2, 500 ms). It zeroes balance 1, lets in
// the base water, brings the bucket to the dispensing place, meters the grid
// rows one after another on station 1, washes, tops up the water, writes the
// daily record, removes the job from the queue and frees the machine.
//
// Two counters drive it: TransferStep counts ticks while the machine is idle
// (preparation, and the pause between rows), RowStep is the next row to
// dispense and, after the last row, the closing phase 99 / 109 / 119 / 129
// / 199.
class TransferSequence {
  public:
    explicit TransferSequence(RunContext ctx);

    void tick();
    // Every counter and figure back to 0 (the stop commands).
    void reset();
    void setFinishedObserver(std::function<void(const FinishedJob&)> fn) {
        finished_ = std::move(fn);
    }

    int transferStep() const { return TransferStep; }
    // The next row to dispense, or the closing phase 99 / 109 / 119 / 129 / 199.
    int rowStep() const { return RowStep; }
    int place() const { return Place; }

  private:
    int TransferStep = 0;
    int RowStep = 0;
    int ResultCounter = 0;
    int ZeroMark = 0;     // 10 once balance 1 was zeroed for the job
    int ReturnTicks = 0;  // ticks of phase 109 spent bringing the pipe head back to the bucket
    // The job's water: actual water, water base (the top-up's figures are in water_).
    std::array<qint64, 2> Water{};
    std::optional<qint64> washFrom_;  // balance 1 when the wash after the rows was requested
    int Place = 0;                    // the bucket place the job was moved to (1..64; 0 none yet)

    void diagnostics();
    void liveWeight();
    void advance();
    void nextRow();
    bool moveBucket();
    // The move is refused: the dialog shows `tag` (when there is one) over
    // `why`, the run's status line both on one line.
    void refuseMove(const QString& tag, const QString& why, const QString& logLine);
    bool pipeHeadBackAtBucket();
    void closing();
    void endOfJob();
    bool waitingReason();
    void resumeAfterLinkLoss();

    double reading() const;  // balance 1 as shown on the settings form
    void status(int k);      // language text k on the run indicator
    void shadeRows(RowShade shade);

    RunContext c_;
    // The job journal: what is in the bucket, written at every step that
    // changes it; and the resume of a job a kill or a stop interrupted.
    void applyResume(const JournalState& j);
    void saveJournal();
    void clearJob();

    JournalState journal_;
    JobResume resume_;
    bool resumeMove_ = false;
    std::array<double, 10> carried_{};  // already in the bucket of a row cut short

    bool heldByLink_ = false;
    int meteredRow_ = -1;
    int progressTicks_ = 0;  // run ticks since the metering's progress was noted
    QDateTime startedAt_;
    qint64 startedMs_ = 0;
    std::function<void(const FinishedJob&)> finished_;
    OrderListFeed feed_;
    TopUpWater water_;
    BaseWater baseWater_;
};

}  // namespace dye
