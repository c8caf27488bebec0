#include "run/TwoBalanceSequence.h"

#include "core/NumberText.h"
#include "core/Val.h"
#include "run/TwoBalanceEnd.h"
#include "station/StationState.h"

// The two-balance run's closing: the top-up water once lane 1 has ended,
// the end of the job, and the resume of a job interrupted with rows in its
// buckets.
namespace dye {

// The top-up water on balance 1, once lane 1 has finished.
void TwoBalanceSequence::water() {
    JobOnMachine& job = c_.state.job;
    if (!lanes_[0].finished()) return;
    switch (WaterPhase) {
        case 0:
            if (job.current().waterAmount() == 0) {
                job.setActualWater(QStringLiteral("0"));
                WaterPhase = 199;
                break;
            }
            topUp_.start();
            journal_.waterKnown = true;
            journal_.actualWater = job.current().actualWater.trimmed();
            journal_.waterBase = topUp_.base();
            saveJournal(c_, journal_);
            WaterPhase = 119;
            break;
        case 119:
            if (topUp_.stopWhenReached()) WaterPhase = 129;
            break;
        case 129:
            if (!topUp_.settled()) break;
            WaterPhase = 199;
            break;
        default:
            break;
    }
    if (WaterPhase == 199 && lanes_[1].finished() && !journal_.closed) {
        journal_.closed = true;
        journal_.actualWater = job.current().actualWater;
        saveJournal(c_, journal_);
    }
}

void TwoBalanceSequence::endOfJob() {
    std::optional<FinishedJob> done = finishJob(c_, startedAt_, [this](const CompletedJob& record) {
        return finishTwoBalanceJob(c_, record, journal_);
    });
    if (!done) return;
    done->twoLanes = true;
    done->laneMeteringMs = {lanes_[0].meteringMs, lanes_[1].meteringMs};
    clearJob();
    if (finished_) finished_(*done);
}

void TwoBalanceSequence::clearJob() {
    reset();
    dye::clearJob(c_.state);
}

// Goes on where the job was: kept rows stay, a row cut short is metered to
// what it still lacks, and the balances are not zeroed again.
void TwoBalanceSequence::applyResume(const JournalState& j) {
    StationState& s = c_.state;
    const QStringList keptRows = resume_.restoreKept(j);
    s.TransferActive.claim();
    for (Lane& l : lanes_) {
        const LaneJournal& lj = j.lanes[size_t(l.number - 1)];
        l.reset();
        l.step = j.closed ? Lane::kFinished : 3;
        l.current = lj.row;
        l.base = lj.base;
        if (lj.metering && lj.row >= 0)
            l.base += cutRowContent(c_, j.job.order, lj.row, l.number,
                                    s.job.row(lj.row).recipeWeight() - lj.base, lj.zero, lj.seen,
                                    s.settings.valveRate(laneValve(s, l, lj.row)));
        s.station[size_t(l.number)].tared = lj.tared;
        keepLane(l);
    }
    if (j.closed) {
        WaterPhase = 199;
    } else if (j.waterKnown) {
        topUp_.reopen(j.waterBase);
        WaterPhase = 119;
    }
    c_.log(QStringLiteral("<resume> job %1 goes on in the same bucket: rows kept %2")
               .arg(j.job.order, keptRows.isEmpty() ? QStringLiteral("none")
                                                    : keptRows.join(QStringLiteral(", "))));
}

}  // namespace dye
