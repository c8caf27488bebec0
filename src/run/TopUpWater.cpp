#include "run/TopUpWater.h"

#include <algorithm>
#include <cmath>

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "core/Val.h"
#include "files/language/LanguageTexts.h"
#include "station/StationState.h"

namespace dye {

namespace {
constexpr double kRunOn = 2000;  // the described allowance for what runs on from the pipe
constexpr int kSettleTicks = 10;
constexpr int kLongestSettleTicks = 40;
constexpr double kResting = 5;  // a rise below this from one tick to the next is a settled reading
constexpr double kLeastOpenShare = 0.9;
// An amount of at least this is given in stages while the pipe's rate is
// not known: watched by the balance for kProbeMs (at most to its half), then
// timed.
constexpr double kStagedLeast = 4 * kRunOn;
// Long enough for the rate: full flow and two seconds of it.
constexpr qint64 kProbeMs = 6000;
// Openings of one top-up, at most; another one is made while more than
// this is missing.
constexpr int kMostStages = 3;
constexpr double kEnoughShare = 0.004;
constexpr double kEnoughLeast = 50;
constexpr int kLongestTimed = 29999;  // hundredths of a second
// The shortest timed opening: a pipe's valve needs this long to give water
// at all (a shorter one may close before it opened).
constexpr int kShortestTimed = 20;
// After a timed opening's time, the water surely closed: the command may
// reach the controller up to a scan pass after it was written.
constexpr qint64 kCloseMarginMs = 2000;
// Full flow is sure this long after the water was opened.
constexpr qint64 kFullFlowAfterMs = 2500;
// A timed opening that rises this far beyond its aim is cut by the balance.
constexpr double kBackstopShare = 0.02;
constexpr double kBackstopLeast = 300;
constexpr int kNoWaterTicks = 40;        // 20 s of run ticks without the water rising
constexpr double kLeastWaterRise = 100;  // less than this is no water coming
// A job's water further off its amount than this is flagged in the event log.
constexpr double kWaterOffShare = 0.05;
constexpr double kWaterOffLeast = 1000;
// Water beyond the amount before the top-up is said when it is more than this.
constexpr double kOverShare = 0.01;
constexpr double kOverLeast = 50;
}  // namespace

bool flagWaterOff(RunContext& c, double asked, double given) {
    const double off = given - asked;
    if (std::abs(off) <= std::max(kWaterOffLeast, kWaterOffShare * asked)) return false;
    c.log(QStringLiteral("<water> off its amount: asked %1, given %2 (%3%4)")
              .arg(numberText(asked), numberText(given), off > 0 ? QStringLiteral("+") : QString(),
                   numberText(off)));
    return true;
}

qint64 wholeReading(double value) {
    constexpr qint64 kLargest = 1'000'000'000'000;
    return wholeWithin(value, -kLargest, kLargest);
}

int waterRegister(const StationState& s) {
    return s.options().waterThroughD851 ? 851 : 985;
}

TopUpWater::TopUpWater(RunContext& c, bool logLines)
    : c_(c), logLines_(logLines), learning_(c.workdir, [&c](const QString& t) { c.log(t); }) {}

double TopUpWater::reading() const {
    return c_.state.balance(1).weight;
}

qint64 TopUpWater::readAt() const {
    return c_.state.balance(1).readAtMs;
}

void TopUpWater::open(int value) {
    c_.state.link.image.set(pipe_, value);
    opened_ = open_ = true;
    flowTicks_ = 0;
    flowFrom_ = reading();
    flow_.clear();
    openedAt_ = readAt();
    stoppedAt_ = -1;
}

void TopUpWater::start() {
    StationState& s = c_.state;
    s.wash.WashWater = 0;
    s.job.shadeWater(WaterShade::TopUp);
    base_ = wholeReading(reading());
    const double asked = s.job.current().waterAmount();
    const double given = s.job.current().actualWaterValue();
    target_ = wholeReading(asked - given);
    pipe_ = waterRegister(s);
    opened_ = disturbed_ = over_ = false;
    stages_ = 0;
    afterStop_ = 0;
    if (target_ <= 0) {
        sayOver(asked, given);
        return;
    }
    if (!openStage(double(target_), true)) return;
    s.run.indicator = c_.text(LanguageText::ToppingUp);
}

// One opening of the pipe for `want`: timed by the learned rate and run-on
// (the described 2000 units until the run-on is learned), else open until
// the balance has risen by a share of it. False when no opening comes
// nearer to `want` than none.
bool TopUpWater::openStage(double want, bool sayWhy) {
    timed_ = 0;
    probeUntil_ = -1;
    const PipeLearning pipe = learning_.pipe(pipe_);
    allowance_ = pipe.runOn.value_or(kRunOn);
    const bool staged = want >= kStagedLeast;
    if (pipe.rate) {
        // While the run-on is not known, a large amount is given by a timed
        // opening that surely leaves room (more than the pipe's run-on and
        // a second of flow) for a last one, which then knows the run-on.
        double reserve = 0;
        if (staged && !pipe.runOn) {
            const double runOn = std::max(kRunOn, afterStop_);
            reserve = 2 * runOn + *pipe.rate;
            if ((want - reserve - allowance_) / *pipe.rate * 100 < kShortestTimed) reserve = 0;
        }
        const double hundredths = (want - reserve - allowance_) / *pipe.rate * 100;
        // Within the run-on, the shortest opening gives more than the amount:
        // the nearer of nothing and the shortest opening.
        const double shortest = allowance_ + *pipe.rate * kShortestTimed / 100.0;
        if (hundredths < kShortestTimed && want <= shortest / 2) {
            if (sayWhy)
                c_.log(QStringLiteral("<water> no top-up: %1 still to give is less than half "
                                      "what the shortest opening of D%2 gives (%3)")
                           .arg(numberText(want))
                           .arg(pipe_)
                           .arg(numberText(std::round(shortest))));
            return false;
        }
        if (hundredths <= kLongestTimed) {
            timed_ = std::clamp(int(std::lround(hundredths)), kShortestTimed, kLongestTimed);
            openYield_ = *pipe.rate * timed_ / 100.0;
        }
    }
    // Watched by the balance, the water runs on past the reading by the
    // pipe's run-on and a scan pass of flow. An amount that leaves room for
    // timed openings after it is watched only long enough to teach the
    // rate; the others stop short of it by the described allowance.
    untimedStop_ = staged ? want / 2 : want - std::min(kRunOn, kLeastOpenShare * want);
    ++stages_;
    stageBase_ = wholeReading(reading());
    open(timed_ > 0 ? timed_ : 30000);
    if (timed_ == 0 && staged) probeUntil_ = openedAt_ + kProbeMs;
    if (logLines_) c_.log(QStringLiteral("< take water >"));
    return true;
}

void TopUpWater::sayOver(double asked, double given) {
    if (given - asked <= std::max(kOverLeast, kOverShare * asked)) return;
    over_ = true;
    c_.state.run.indicator = c_.say({u"補水前水量已超過：要求 %1，進水與洗桶水已有 %2",
                                     u"Water over its amount before the top-up: asked %1, the "
                                     u"base water and the wash water gave %2"})
                                 .arg(numberText(asked), numberText(given));
    c_.log(QStringLiteral("<water> off its amount before the top-up: asked %1, the base water "
                          "and the wash water gave %2 (+%3); no water is topped up")
               .arg(numberText(asked), numberText(given), numberText(given - asked)));
}

void TopUpWater::reopen(qint64 base) {
    StationState& s = c_.state;
    base_ = wholeReading(double(base));
    target_ = wholeReading(s.job.current().waterAmount() - s.job.current().actualWaterValue());
    pipe_ = waterRegister(s);
    timed_ = 0;
    disturbed_ = true;
    stages_ = kMostStages;
    stageBase_ = base_;
    const double want = double(target_);
    untimedStop_ = want - std::min(kRunOn, kLeastOpenShare * want);
    probeUntil_ = -1;
    open(30000);
}

void TopUpWater::hold() {
    disturbed_ = true;
    if (c_.state.balance(1).overload)
        c_.state.link.image.set(waterRegister(c_.state), RegisterImage::RegNoValue);
}

bool TopUpWater::stopWhenReached() {
    if (!open_) return true;
    flow_.note(readAt(), reading());
    const double given = reading() - double(stageBase_);
    bool stop = false;
    if (timed_ > 0) {
        // The timed opening closes by itself; the balance cuts one that
        // gives far more than it and the pipe's run-on can.
        const double runOn = std::max({allowance_, kRunOn, afterStop_});
        const double margin = std::max(kBackstopLeast, kBackstopShare * target_);
        if (given >= openYield_ + runOn + margin) {
            disturbed_ = true;
            stop = true;
        }
        stop = stop || readAt() - openedAt_ >= qint64(timed_) * 10 + kCloseMarginMs;
    } else {
        stop = given >= untimedStop_ || (probeUntil_ >= 0 && readAt() >= probeUntil_);
    }
    if (!stop) {
        watchFlow();
        return false;
    }
    stoppedAt_ = readAt();
    stopGiven_ = given;
    open_ = false;
    c_.state.link.image.set(pipe_, RegisterImage::RegNoValue);
    if (logLines_) c_.log(QStringLiteral("< water stop >"));
    return true;
}

void TopUpWater::watchFlow() {
    if (reading() - flowFrom_ >= kLeastWaterRise) {
        flowTicks_ = 0;
        flowFrom_ = reading();
        noWaterShown_ = false;
        return;
    }
    if (++flowTicks_ < kNoWaterTicks || noWaterShown_) return;
    noWaterShown_ = true;
    disturbed_ = true;
    c_.log(QStringLiteral("<water> no water comes: balance 1 has not risen in %1 s of open water")
               .arg(kNoWaterTicks / 2));
    c_.dialogs.message(QStringLiteral("*** NO WATER ***\n") +
                           c_.say({u"水閥已開 %1 秒，第 1 號天平沒有增加。請檢查供水；水來了"
                                   u"補水會繼續。",
                                   u"The water valve has been open for %1 s and balance 1 has "
                                   u"not risen. Check the water supply; the top-up goes on when "
                                   u"the water comes."})
                               .arg(kNoWaterTicks / 2),
                       QString(), [] {});
}

bool TopUpWater::settled() {
    if (open_) {
        if (!stopWhenReached()) return false;
        settleCount_ = 0;
    }
    ++settleCount_;
    // The run-on of the pipe may last longer than the ticks counted: the
    // reading is taken once it rests.
    const bool resting = std::abs(reading() - lastSettle_) < kResting;
    lastSettle_ = reading();
    if (settleCount_ <= kSettleTicks) return false;
    if (opened_ && !resting && settleCount_ <= kLongestSettleTicks) return false;
    settleCount_ = 0;
    const bool fresh = c_.state.balance(1).fresh;
    const double stageGiven = double(wholeReading(reading()) - stageBase_);
    if (opened_ && timed_ == 0) afterStop_ = std::max(0.0, stageGiven - stopGiven_);
    if (opened_ && !disturbed_ && fresh) learn(stageGiven);
    const qint64 delivered = opened_ ? wholeReading(reading()) - base_ : 0;
    // What is still missing is given by another, timed opening.
    const double missing = double(target_ - delivered);
    if (opened_ && !disturbed_ && fresh && stages_ < kMostStages &&
        missing > std::max(kEnoughLeast, kEnoughShare * double(target_)) &&
        openStage(missing, false))
        return false;
    JobOnMachine& job = c_.state.job;
    job.setActualWater(QString::number(wholeReading(job.current().actualWaterValue()) + delivered));
    const bool off =
        flagWaterOff(c_, job.current().waterAmount(), job.current().actualWaterValue());
    if (off || over_) job.markWaterOff();
    job.shadeWater(WaterShade::Plain);
    if (!over_) c_.state.run.indicator = c_.text(LanguageText::WaterToppedUp);
    return true;
}

// The rate through the readings of sure full flow; the run-on as what a
// timed opening gave beyond that rate over its time.
void TopUpWater::learn(double delivered) {
    const qint64 until = timed_ > 0 ? openedAt_ + qint64(timed_) * 10 : stoppedAt_;
    const std::optional<double> rate = flow_.rate(openedAt_ + kFullFlowAfterMs, until);
    if (rate) learning_.learnRate(pipe_, *rate);
    if (timed_ <= 0) return;
    const std::optional<double> known = rate ? rate : learning_.pipe(pipe_).rate;
    if (known) learning_.learnRunOn(pipe_, delivered - *known * timed_ / 100.0);
}

void TopUpWater::reset() {
    target_ = base_ = stageBase_ = 0;
    settleCount_ = 0;
    opened_ = open_ = disturbed_ = over_ = false;
    timed_ = stages_ = 0;
    afterStop_ = stopGiven_ = 0;
    probeUntil_ = -1;
}

}  // namespace dye
