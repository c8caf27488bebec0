#include "run/BaseWater.h"

#include <algorithm>
#include <cmath>

#include "core/NumberText.h"
#include "link/Registers.h"
#include "run/TopUpWater.h"
#include "station/StationState.h"

namespace dye {

namespace {
constexpr int kBaseHundredths = 1000;  // ten seconds of the pipe
// Until the pipe's run-on is learned, the base water keeps half as much
// again as the described allowance of 2000 units clear of the amount: what
// the pipe gives after the cut is not known yet.
constexpr double kUnlearnedRunOn = 3000;
constexpr double kLeastOpenShare = 0.9;
// Full flow is sure this long after the water was opened.
constexpr qint64 kFullFlowAfterMs = 2500;
}  // namespace

BaseWater::BaseWater(RunContext& c)
    : c_(c), learning_(c.workdir, [&c](const QString& t) { c.log(t); }) {}

double BaseWater::given() const {
    return c_.state.balance(1).weight - base_;
}

bool BaseWater::start(double amount) {
    StationState& s = c_.state;
    reset();
    base_ = s.balance(1).weight;
    openedAt_ = s.balance(1).readAtMs;
    amount_ = amount;
    pipe_ = waterRegister(s);
    if (amount <= 0) {
        c_.log(QStringLiteral("< no base water: the job asks no water >"));
        return false;
    }
    const PipeLearning pipe = learning_.pipe(pipe_);
    allowance_ = pipe.runOn.value_or(std::min(kUnlearnedRunOn, kLeastOpenShare * amount));
    hundredths_ = kBaseHundredths;
    if (pipe.rate && pipe.runOn) {
        const double fits = (amount - *pipe.runOn) / *pipe.rate * 100;
        if (fits < 1) {
            c_.log(QStringLiteral("< no base water: the job's %1 is within what D%2 runs on "
                                  "after it closes (%3) >")
                       .arg(numberText(amount))
                       .arg(pipe_)
                       .arg(numberText(std::round(*pipe.runOn))));
            hundredths_ = 0;
            return false;
        }
        hundredths_ = std::min(kBaseHundredths, int(std::lround(fits)));
    }
    s.link.image.set(pipe_, hundredths_);
    s.link.image.set(reg::GateValve, 1000);
    c_.log(hundredths_ == kBaseHundredths
               ? QStringLiteral("< water in 10 sec >")
               : QStringLiteral("< water in %1 sec >").arg(numberText(hundredths_ / 100.0)));
    return true;
}

void BaseWater::watch() {
    if (hundredths_ <= 0 || cut_ || !c_.state.balance(1).fresh) return;
    flow_.note(c_.state.balance(1).readAtMs, c_.state.balance(1).weight);
    if (given() + allowance_ < amount_) return;
    c_.state.link.image.set(pipe_, RegisterImage::RegNoValue);
    cut_ = true;
    c_.log(QStringLiteral("< water stop > base water at the job's amount"));
}

void BaseWater::measured(double water) {
    if (hundredths_ != kBaseHundredths || cut_ || disturbed_ || !c_.state.balance(1).fresh) return;
    const std::optional<double> rate =
        flow_.rate(openedAt_ + kFullFlowAfterMs, openedAt_ + qint64(hundredths_) * 10);
    if (rate) learning_.learnRate(pipe_, *rate);
    const std::optional<double> known = rate ? rate : learning_.pipe(pipe_).rate;
    if (known) learning_.learnRunOn(pipe_, water - *known * hundredths_ / 100.0);
}

void BaseWater::reset() {
    hundredths_ = 0;
    cut_ = disturbed_ = false;
    amount_ = allowance_ = 0;
    flow_.clear();
}

}  // namespace dye
