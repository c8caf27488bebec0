#include "run/TopUpWater.h"

#include <algorithm>
#include <cmath>

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "core/Val.h"
#include "station/StationState.h"

namespace dye {

namespace {
constexpr double kRunOn = 2000;  // what still runs from the pipe after the valve closes
constexpr int kSettleTicks = 10;
constexpr double kLeastOpenShare = 0.9;
constexpr int kNoWaterTicks = 40;  // 20 s of run ticks without the water rising
constexpr double kLeastWaterRise =
    100;  // less than this is no water coming  // the allowance is at most this share of the amount
// A job's water further off its amount than this is flagged in the event log.
constexpr double kWaterOffShare = 0.05;
constexpr double kWaterOffLeast = 1000;
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
    return s.form2.Check2 ? 851 : 985;
}

double TopUpWater::reading() const {
    return c_.state.balance(1).weight;
}

void TopUpWater::start() {
    StationState& s = c_.state;
    s.wash.WashWater = 0;
    s.form3.Label6.BackColor = kYellow;
    s.form3.Label7.BackColor = kYellow;
    base_ = wholeReading(reading());
    target_ = wholeReading(Val(s.form3.Label6.Caption) - Val(s.form3.Label7.Caption));
    s.link.image.set(waterRegister(s), 30000);
    flowTicks_ = 0;
    flowFrom_ = reading();
    s.form3.Label8.Caption = c_.text(60);
    if (logLines_) c_.log(QStringLiteral("< take water >"));
}

void TopUpWater::reopen(qint64 base) {
    StationState& s = c_.state;
    base_ = wholeReading(double(base));
    target_ = wholeReading(Val(s.form3.Label6.Caption) - Val(s.form3.Label7.Caption));
    s.link.image.set(waterRegister(s), 30000);
    flowTicks_ = 0;
    flowFrom_ = reading();
}

void TopUpWater::hold() {
    if (c_.state.balance(1).overload)
        c_.state.link.image.set(waterRegister(c_.state), RegisterImage::RegNoValue);
}

bool TopUpWater::stopWhenReached() {
    // The run-on allowance never takes the whole amount, so that an amount
    // within the pipe's run-on is still given.
    const double allowance = std::min(kRunOn, kLeastOpenShare * double(target_));
    if (reading() + allowance - double(base_) < double(target_)) {
        watchFlow();
        return false;
    }
    c_.state.link.image.set(waterRegister(c_.state), RegisterImage::RegNoValue);
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
    c_.log(QStringLiteral("<water> no water comes: balance 1 has not risen in %1 s of open water")
               .arg(kNoWaterTicks / 2));
    c_.dialogs.message(QStringLiteral("*** NO WATER: the water valve has been open for %1 s and "
                                      "balance 1 has not risen. Check the water supply; the "
                                      "top-up goes on when the water comes. ***")
                           .arg(kNoWaterTicks / 2),
                       QString(), [] {});
}

bool TopUpWater::settled() {
    if (++settleCount_ <= kSettleTicks) return false;
    Form3& f = c_.state.form3;
    f.Label7.Caption =
        QString::number(wholeReading(Val(f.Label7.Caption)) + wholeReading(reading()) - base_);
    flagWaterOff(c_, Val(f.Label6.Caption), Val(f.Label7.Caption));
    f.Label6.BackColor = kDefaultBack;
    f.Label7.BackColor = kDefaultBack;
    f.Label8.Caption = c_.text(61);
    settleCount_ = 0;
    return true;
}

void TopUpWater::reset() {
    target_ = base_ = 0;
    settleCount_ = 0;
}

}  // namespace dye
