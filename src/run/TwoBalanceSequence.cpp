#include "run/TwoBalanceSequence.h"

#include "core/NumberText.h"
#include "core/Val.h"
#include "files/language/LanguageTexts.h"
#include "files/settings/MixFiles.h"
#include "link/ScanCycle.h"
#include "machine/StationMetering.h"
#include "run/LineCheck.h"
#include "run/RunBlocked.h"
#include "run/TwoBalanceEnd.h"
#include "station/StationState.h"

namespace dye {

namespace {

constexpr int kNoValue = RegisterImage::RegNoValue;
constexpr int kGo = 30000;

}  // namespace

TwoBalanceSequence::TwoBalanceSequence(RunContext ctx)
    : c_(std::move(ctx)),
      resume_(
          c_, journal_, [this](const JournalState& j) { applyResume(j); }, [this] { clearJob(); },
          [this](const CompletedJob& job, const QString& finishText) {
              twoBalanceWriteBack(c_, job, finishText);
          }),
      topUp_(c_, false) {}

double TwoBalanceSequence::reading(int balance) const {
    return c_.state.balance(balance).weight;
}

void TwoBalanceSequence::status(int k) {
    c_.state.run.indicator = c_.text(k);
}

void TwoBalanceSequence::reset() {
    for (Lane& l : lanes_) l.reset();
    WaterPhase = 0;
    journal_ = JournalState{};
    resume_.reset();
    topUp_.reset();
    heldByLink_ = false;
    startedAt_ = QDateTime();
}

void TwoBalanceSequence::tick() {
    display();
    liveWeights();
    StationState& s = c_.state;
    // Nothing is decided on readings that are not current.
    if (!s.linkUsable() || !s.balance(1).fresh || !s.balance(2).fresh) {
        heldByLink_ = true;
        if (WaterPhase == 119) topUp_.hold();
        const QString order = s.job.current().identity.order;
        const QString held = order.isEmpty() ? QString() : balanceHeldReason(s, order, {1, 2});
        if (!held.isEmpty()) s.run.waitReason = held;
        return;
    }
    if (heldByLink_) {
        // Every output was switched off when the controller answered again.
        heldByLink_ = false;
        if (WaterPhase == 119) topUp_.reopen(topUp_.base());
    }
    if (waitingReason()) return;
    if (!resume_.ready() && !resume_.prepare()) return;
    if (!startedAt_.isValid()) startedAt_ = c_.now();
    for (Lane& l : lanes_)
        if (s.station[size_t(l.number)].StationStep == 0) advance(l);
    water();
    if (lanes_[0].finished() && lanes_[1].finished() && WaterPhase == 199) endOfJob();
}

void TwoBalanceSequence::display() {
    const Lane& a = lanes_[0];
    const Lane& b = lanes_[1];
    c_.state.run.steps = QStringLiteral("%1 === %2 === %3 === %4")
                             .arg(a.step)
                             .arg(a.pointer)
                             .arg(b.step)
                             .arg(b.pointer);
    c_.state.run.transferStep = QString::number(a.step);
    feed_.fill(c_.state, 0);
    feed_.blink(c_.state);
    c_.state.run.laneHasRows = {a.hasRows(), b.hasRows()};
    if (a.waiting || b.waiting) status(LanguageText::LaneWaiting);
    laneIndicator();
}

// While a lane meters, the indicator says for each lane what it does: the
// row it meters (n of the lane's rows, and the product) or that it waits.
void TwoBalanceSequence::laneIndicator() {
    const JobOnMachine& job = c_.state.job;
    QStringList parts;
    bool metering = false;
    for (const Lane& l : lanes_) {
        if (l.metering && l.current >= 0) {
            metering = true;
            parts << QStringLiteral("<%1> %2 %3/%4 %5")
                         .arg(l.number)
                         .arg(c_.text(LanguageText::Dispensing))
                         .arg(l.pointer + 1)
                         .arg(l.rows.size())
                         .arg(job.row(l.current).code.trimmed());
        } else if (l.waiting) {
            parts << QStringLiteral("<%1> %2").arg(l.number).arg(
                c_.text(LanguageText::LaneWaiting));
        }
    }
    if (metering) c_.state.run.indicator = parts.join(QStringLiteral("   "));
}

void TwoBalanceSequence::liveWeights() {
    StationState& s = c_.state;
    for (Lane& l : lanes_) {
        const MeteringStation& st = s.station[size_t(l.number)];
        if (!l.metering || l.current < 0 || st.StationStep <= 0 || !st.actual) continue;
        s.job.setActual(l.current, numberText(*st.actual + l.base));
        if (s.balance(l.number).fresh &&
            progressDue(l.seen, reading(l.number) - l.zero, l.progressTicks))
            keepLane(l);
    }
}

bool TwoBalanceSequence::waitingReason() {
    if (resume_.holdsRun()) return true;
    const QString& order = c_.state.job.current().identity.order;
    QStringList waiting;
    for (const Lane& l : lanes_)
        if (l.waiting) waiting << QString::number(l.number);
    c_.state.run.waitReason = waiting.isEmpty()
                                  ? QString()
                                  : c_.say({u"單號 %1：第 %2 道等待桶就緒信號。",
                                            u"Job %1: lane %2 waits for its bucket ready signal."})
                                        .arg(order, waiting.join(c_.say({u" 與 ", u" and "})));
    return false;
}

void TwoBalanceSequence::advance(Lane& l) {
    StationState& s = c_.state;
    if (l.finished()) return;
    if (l.metering) takeResult(l);
    ++l.step;
    switch (l.step) {
        case 2:
            // The last job's bucket change goes out before this lane starts.
            if (laneJobEndPending(s.link, l.number)) {
                l.step = 1;
                break;
            }
            s.link.laneEndOwed[size_t(l.number - 1)] = false;
            if (l.number == 1) s.TransferActive.claim();
            // The job's bucket: nothing of a manual metering or an earlier
            // job counts in it.
            s.station[size_t(l.number)].tared = 0;
            s.station[size_t(l.number)].BucketFull = 0;
            s.station[size_t(l.number)].OverTicks = 0;
            s.link.image.set(l.tareRegister(), 10);
            lanePhase(s, l, 4, 1, 1);
            closeLaneValves(s, l);
            break;
        case 4:
            split(l);
            break;
        case 6:
            prepare(l);
            break;
        case 8:
            if (l.rows.empty() || !waitReady(l)) {
                l.step = 7;
                break;
            }
            tareLane(s, l);
            s.link.image.set(l.goRegister(), kGo);
            status(LanguageText::Dispensing);
            l.step = 25;
            break;
        case 30:
            nextRow(l);
            break;
        case 40:
            lanePhase(s, l, 40, 40, 1);
            s.link.image.set(l.goRegister(), kNoValue);
            s.station[size_t(l.number)].tared = 0;
            status(LanguageText::ChangeBucket);
            break;
        case 45:
            if (!waitReady(l)) {
                l.step = 44;
                break;
            }
            s.link.image.set(l.goRegister(), kGo);
            // A new, empty bucket: the reading still counts from the old
            // bucket's tare, so nothing of it is added to what this one holds.
            s.station[size_t(l.number)].tared = 0;
            s.link.image.set(l.tareRegister(), 10);
            lanePhase(s, l, 30, 1, 1);
            status(LanguageText::Dispensing);
            l.step = 25;
            keepLane(l);
            break;
        default:
            break;
    }
}

bool TwoBalanceSequence::waitReady(Lane& l) {
    l.waiting = !c_.state.link.inputs.laneReady[size_t(l.number)];
    return !l.waiting;
}

// The lane's rows: every grid row of its balance that is not in the bucket
// already (a resumed job keeps its rows).
void TwoBalanceSequence::split(Lane& l) {
    const JobOnMachine& job = c_.state.job;
    const QString balance = QString::number(l.number);
    l.rows.clear();
    for (int r = 0; r < CurrentJob::kRows; ++r) {
        if (!job.row(r).present() || job.row(r).balance != balance) continue;
        if (!journal_.kept[size_t(r)]) l.rows.push_back(r);
    }
}

void TwoBalanceSequence::prepare(Lane& l) {
    if (l.rows.empty()) {
        l.step = Lane::kFinished;
        l.pointer = Lane::kFinished;
        return;
    }
    status(LanguageText::LanePreparing);
    l.pointer = 0;
    lanePhase(c_.state, l, 30, 30, 1);
}

void TwoBalanceSequence::nextRow(Lane& l) {
    StationState& s = c_.state;
    if (l.pointer >= int(l.rows.size())) {
        l.step = Lane::kFinished;
        l.pointer = Lane::kFinished;
        l.current = -1;
        l.base = 0;
        status(LanguageText::DispensingDone);
        keepLane(l);
        return;
    }
    const int row = l.rows[size_t(l.pointer)];
    if (l.current != row) l.base = 0;
    l.current = row;
    const double target = s.job.row(row).recipeWeight() - l.base;
    l.step = 31;
    if (target <= 0) {  // what earlier buckets got is the whole row
        takeResult(l);
        return;
    }
    l.zero = reading(l.number);
    l.seen = 0;
    l.progressTicks = 0;
    l.metering = true;
    l.meteringFrom = c_.now().toMSecsSinceEpoch();
    keepLane(l);
    startMetering(s, l.number, laneValve(s, l, row), numberText(target), row);
    s.job.shadeRow(row, RowShade::LaneMetering);
    if (s.machineType() == 5) markDyeMix(l, row);
    status(LanguageText::Dispensing);
}

// The metering of the lane's row has ended (or it needed none).
void TwoBalanceSequence::takeResult(Lane& l) {
    StationState& s = c_.state;
    MeteringStation& st = s.station[size_t(l.number)];
    double got = 0;
    if (l.metering) {
        l.metering = false;
        l.meteringMs += c_.now().toMSecsSinceEpoch() - l.meteringFrom;
        got = st.finalWeight.value_or(0.0);
    }
    const int row = l.current;
    if (st.BucketFull) {
        // The bucket is full: what it got stays the row's base, and the rest
        // goes into the next bucket.
        st.BucketFull = 0;
        l.base += got;
        s.job.setActual(row, numberText(l.base));
        askBucket(l);
        return;
    }
    QString actual = numberText(got + l.base);
    const QString code = s.job.row(row).code;
    const double recipe = s.job.row(row).recipeWeight();
    if (st.skipped)
        actual = markRowSkipped(c_, row, code, recipe, got + l.base);
    else
        markLineOff(c_, row, code, recipe, got + l.base);
    s.job.setActual(row, actual);
    s.job.shadeRow(row, RowShade::Done);
    journal_.kept[size_t(row)] = actual;
    l.current = -1;
    l.base = 0;
    ++l.pointer;
    const bool more = l.pointer < int(l.rows.size());
    if (more && s.settings.number(SettingsField::EveryItem) == 1) {
        askBucket(l);
        return;
    }
    if (more) {
        lanePhase(s, l, 30, 1, 1);
        tareLane(s, l);
        l.step = 24;
    } else {
        l.step = 29;
    }
    keepLane(l);
}

void TwoBalanceSequence::askBucket(Lane& l) {
    l.step = 39;
    keepLane(l);
}

void TwoBalanceSequence::markDyeMix(Lane& l, int row) {
    const int tube = c_.state.job.row(row).valve();
    if (tube <= l.lastMix) return;
    l.lastMix = tube;
    QString error;
    if (!writeMixMark(mixMarksPath(c_.workdir, c_.state.settings), tube, 1, &error))
        c_.log(QStringLiteral("<mix> MIX_C.txt not written: ") + error);
}

void TwoBalanceSequence::keepLane(const Lane& l) {
    journal_.twoLanes = true;
    journal_.lanes[size_t(l.number - 1)] = {
        l.current, l.metering, l.zero, l.base, c_.state.station[size_t(l.number)].tared, l.seen};
    saveJournal(c_, journal_);
}

}  // namespace dye
