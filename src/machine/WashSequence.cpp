#include "WashSequence.h"

#include <algorithm>
#include <cmath>

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "core/Scheduler.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "link/Registers.h"
#include "machine/BucketTransport.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr qint32 kOff = RegisterImage::RegNoValue;
constexpr qint32 kOpen = 32000;          // open until closed
constexpr qint32 kConveyorOn = 30000;    // conveyor motor, on until switched off
constexpr qint32 kDrainOpen = 30000;     // drain valve of the conveyor machine
constexpr qint32 kWashStartPulse = 300;  // D800: the filling starts or is skipped
constexpr qint32 kGateAtFill = 1000;
constexpr qint32 kTare = 10;
constexpr qint64 kLongestTimedOpening = 29999;
constexpr int kFillLimitSeconds = 200;
// A setting beyond this many seconds (or weight units) is taken as this many:
// the clock arithmetic stays far from any overflow.
constexpr double kLargestSetting = 1e9;

constexpr qint16 kWaterTimeOut = 7;
constexpr qint16 kRobotHandNotIn = 8;

// The wash's two alarms: the tag line as the machine's operators know it,
// then what happened and what OK does, in the operator's language.
constexpr Wording kWaterTimeOutText{
    u"洗桶進水 200 秒仍未到設定重量，進水閥已關閉。請檢查水源與水管；按確定後繼續洗桶。",
    u"The wash water did not reach its weight in 200 s; the water valve is closed. Check the "
    u"water supply and its pipe; OK goes on with the wash."};
constexpr Wording kRobotHandText{
    u"沖洗前管路沒有降到桶內（管路到底未亮）。請檢查機械手與管路；按確定後繼續洗桶。",
    u"The pipe is not down in the bucket for the rinse (\"pipe down\" is off). Check the robot "
    u"hand and the pipe; OK goes on with the wash."};

constexpr int kWaterValve = reg::WaterValve;
constexpr int kGateValve = reg::GateValve;
constexpr int kWaterOnValve1 = reg::valve(1);
constexpr int kWashStart = reg::output(0);
constexpr int kConveyorMotor = reg::ConveyorMotor;
constexpr int kDrainValve = reg::DrainValve;
constexpr int kTareBalance1 = reg::Tare1;

// The clock counts whole seconds, so the setting S it is compared with is a
// whole number too (a fractional S would never be met and the wash would
// never end); a negative setting counts as 0.
qint64 wholeSetting(double value) {
    return std::llround(std::clamp(value, 0.0, kLargestSetting));
}

}  // namespace

WashSequence::WashSequence(StationState& state, Dialogs& dialogs, BucketTransport& transport,
                           Log log)
    : s_(state),
      dialogs_(dialogs),
      transport_(transport),
      log_(std::move(log)),
      outputs_(state.link.image) {}

void WashSequence::tick() {
    followLink();
    if (parked_) return;
    if (s_.wash.WashPhase == 0) {
        waterGiven = 0;
        s_.form2.Label7[5].clear();
        WashFillTicks = 0;
        fillBase = 0;
        filling_ = false;
        outputs_.clear();
        return;
    }
    // The wash clock stands still while the controller cannot be reached.
    if (!s_.linkUsable()) return;
    if (linkLost_) putBackAfterLinkLoss();
    WashClock += 1;
    s_.run.washClock = QString::number(WashClock);
    s_.run.washHold = QString::number(watchHold);
    runFrom(Stage::Prepare);
}

void WashSequence::followLink() {
    const LinkHealth& h = s_.link.health;
    if (h.losses() != lossesSeen_) {
        lossesSeen_ = h.losses();
        linkLost_ = s_.wash.WashPhase != 0;
    }
    // Every output was switched off when the controller came back; until
    // then it may have run the timed openings on its own clock.
    const bool switchedOff = h.up() && !h.acknowledged();
    if (s_.wash.WashPhase != 0 && !switchedOff) outputs_.second();
}

// The scan switched every output off when the controller answered again:
// what the wash had on goes on again, and the wash goes on where it was.
void WashSequence::putBackAfterLinkLoss() {
    linkLost_ = false;
    QStringList names;
    for (int reg : outputs_.putBack()) names << QStringLiteral("D%1").arg(reg);
    if (log_)
        log_(QStringLiteral("<wash> link back at clock %1: %2")
                 .arg(WashClock)
                 .arg(names.isEmpty() ? QStringLiteral("nothing to switch on again")
                                      : names.join(u' ') + QStringLiteral(" on again")));
}

void WashSequence::reset() {
    ++generation_;
    if (parked_) {
        s_.MachineStatus.acknowledge(kWaterTimeOut);
        s_.MachineStatus.acknowledge(kRobotHandNotIn);
    }
    parked_ = false;
    filling_ = false;
    linkLost_ = false;
    outputs_.clear();
    WashClock = 0;
    WashFillTicks = 0;
    washWater = 0;
    S = 0;
    washCount = 0;
    fillBase = 0;
    startWeight = 0;
    waterGiven = 0;
    rinseRepeats = 0;
    watchRef = 0;
    watchHold = 0;
    extraWaterDone = 0;
}

void WashSequence::runFrom(Stage from) {
    for (int st = int(from); st < int(Stage::Done); ++st)
        if (!stage(Stage(st))) return;
}

// Every stage looks at the clock as the stages before it in this tick left
// it: a jump (a skipped filling, the weight watch, a rinse again) is seen by
// the stages that follow.
bool WashSequence::stage(Stage st) {
    const qint64 c = WashClock;
    switch (st) {
        case Stage::Prepare:
            if (c == 3) prepare();
            return true;
        case Stage::StartCycle:
            return c == 8 ? startCycle() : true;
        case Stage::Rinse:
            return c == S + 12 ? rinse() : true;
        case Stage::ConveyorOn:
            if (c == S + 16) conveyorOn();
            return true;
        case Stage::ExtraWater:
            if (c > S + 18 && c < S + 25) extraWater();
            return true;
        case Stage::WeightWatch:
            if (c > S + 25 && c < S + 225) weightWatch();
            return true;
        case Stage::ConveyorOff:
            if (c == S + 227) outputs_.set(kConveyorMotor, kOff);
            return true;
        case Stage::RinseEnd:
            if (c == S + 230) rinseEnd();
            return true;
        case Stage::EndOfCycle:
            if (c == S + 235) endOfCycle();
            return true;
        case Stage::Done:
            return true;
    }
    return true;
}

void WashSequence::prepare() {
    if (s_.wash.WashWater != 1) return;
    if (s_.machineType() == 4) {
        s_.link.image.set(kTareBalance1, kTare);
        outputs_.set(kDrainValve, kDrainOpen);
        return;
    }
    transport_.toSlot(1);
    s_.link.image.set(kTareBalance1, kTare);
    if (log_) log_(QStringLiteral("<TYPE1 WASHING and PUSH TO (001) >"));
}

void WashSequence::setUpCycle() {
    startWeight = reading();
    const WashRequest& w = s_.wash;
    const MachineSettings& m = s_.settings;
    const bool slotApplies = w.WashSlot >= 1 && m.washWater(w.WashSlot) != 0;
    S = wholeSetting(slotApplies ? m.washWater(w.WashSlot) : m.number(SettingsField::WashWater));
    washWater = S * 100;
    washCount = slotApplies ? m.washCount(w.WashSlot) : m.number(SettingsField::WashCount);
    if (w.WashType1 == 1) washCount = 1;
    rinseRepeats = 0;
    watchHold = 0;
}

bool WashSequence::startCycle() {
    // A weight-measured filling holds the clock at 8 until the weight is in;
    // the cycle was set up on its first second and is not set up again.
    if (filling_) return fillByWeight();
    setUpCycle();
    const WashRequest& w = s_.wash;
    bool parkedNow = false;
    if (w.WashPhase == 1 && w.WashType1 != 1) {
        // The first cycle of a normal wash lets no water in.
        WashClock = S + 8;
        s_.link.image.set(kWashStart, kWashStartPulse);
    } else if (s_.options().waterThroughD851) {
        sendTimed(kWaterOnValve1, washWater);
        s_.link.image.set(kWashStart, kWashStartPulse);
        if (gateInUse()) outputs_.set(kGateValve, kGateAtFill);
    } else if (S > 1000) {
        filling_ = true;
        outputs_.set(kWaterValve, kOpen);
        fillBase = reading();
        parkedNow = !fillByWeight();
    } else {
        sendTimed(kWaterValve, washWater);
        s_.link.image.set(kWashStart, kWashStartPulse);
        if (gateInUse()) outputs_.set(kGateValve, kGateAtFill);
    }
    // The gate closes two seconds before the water. Sent once per cycle: on
    // the seconds a weight-measured filling holds the clock it is not sent
    // again, as that would restart its time every second.
    if (gateInUse()) sendTimed(kGateValve, washWater - 200);
    return !parkedNow;
}

bool WashSequence::fillByWeight() {
    if (reading() - fillBase > S) {
        finishFillByWeight();
        return true;
    }
    WashFillTicks += 1;
    WashClock -= 1;
    if (WashFillTicks <= kFillLimitSeconds) return true;
    // The water valve is open until closed: it is closed now, not only once
    // the operator has read the message, so that the bucket cannot run over
    // while the message waits.
    outputs_.set(kWaterValve, kOff);
    park(kWaterTimeOut, QStringLiteral("washing_time over 200sec"), kWaterTimeOutText, [this] {
        finishFillByWeight();
        runFrom(Stage::Rinse);
    });
    return false;
}

void WashSequence::finishFillByWeight() {
    WashClock = S + 8;
    s_.link.image.set(kWashStart, kWashStartPulse);
    outputs_.set(kWaterValve, kOff);
    WashFillTicks = 0;
    filling_ = false;
}

bool WashSequence::rinse() {
    const MachineInputs& in = s_.link.inputs;
    if (s_.machineType() != 4 && in.axesFresh && !in.pipeHeadDown) {
        park(kRobotHandNotIn, QStringLiteral("*** check robot hand not enter ***"), kRobotHandText,
             [this] {
                 rinseRest();
                 runFrom(Stage::ConveyorOn);
             });
        return false;
    }
    rinseRest();
    return true;
}

void WashSequence::rinseRest() {
    if (rinseRepeats == 0) waterGiven += reading() - startWeight;
    outputs_.set(kGateValve, kOpen);
}

void WashSequence::conveyorOn() {
    outputs_.set(kConveyorMotor, kConveyorOn);
    watchRef = reading();
}

bool WashSequence::extraWaterDue(double limit) const {
    const WashRequest& w = s_.wash;
    return reading() < limit && w.WashPhase == 1 && extraWaterDone == 0 &&
           (w.WashType1 == 1 || w.WashWater == 0);
}

void WashSequence::giveExtraWater() {
    sendTimed(kWaterValve, std::llround(std::clamp(s_.settings.number(SettingsField::ExtraWater),
                                                   0.0, kLargestSetting) *
                                        100));
    outputs_.set(kGateValve, kOpen);
}

void WashSequence::extraWater() {
    if (extraWaterDue(10000)) giveExtraWater();
}

void WashSequence::weightWatch() {
    const double now = reading();
    // The bucket has stopped emptying: on to the end of the rinse.
    if (WashClock % 2 == 0 && std::abs(now - watchRef) < 5 && watchHold == 0) WashClock = S + 225;
    watchRef = now;
    if (watchHold > 0) watchHold -= 1;
    if (extraWaterDue(7000)) {
        giveExtraWater();
        watchHold = 5;
        extraWaterDone = 1;
    }
}

void WashSequence::rinseEnd() {
    outputs_.set(kGateValve, kOff);
    if (reading() > 5000 && rinseRepeats < 2) WashClock = S + 12;  // still heavy: rinse again
    rinseRepeats += 1;
}

void WashSequence::endOfCycle() {
    WashRequest& w = s_.wash;
    s_.form2.Label7[5] = numberText(waterGiven);
    if (w.WashPhase < washCount) {
        WashClock = 6;  // the next cycle starts at clock 8
        w.WashPhase += 1;
        return;
    }
    if (w.WashWater == 1) outputs_.set(kDrainValve, kOff);
    waterGiven = 0;
    WashClock = 0;
    w.WashPhase = 0;
    extraWaterDone = 0;
    armHoming(s_);
}

void WashSequence::park(qint16 code, const QString& tag, const Wording& why,
                        std::function<void()> goOn) {
    parked_ = true;
    s_.MachineStatus.raise(code);
    const quint64 generation = generation_;
    const qint64 clock = WashClock;
    const QString text = tag + QLatin1Char('\n') + s_.say(why);
    dialogs_.message(text, QString(), [this, generation, clock, code, goOn = std::move(goOn)] {
        if (generation != generation_) return;  // reset meanwhile: nothing to go on with
        parked_ = false;
        s_.MachineStatus.acknowledge(code);
        // Stopped, or the clock cleared, while the message waited.
        if (s_.wash.WashPhase == 0 || WashClock != clock) return;
        goOn();
    });
}

double WashSequence::reading() const {
    return s_.balance(1).weight;
}

bool WashSequence::gateInUse() const {
    return s_.settings.Text1(SettingsField::Gate).trimmed() != QStringLiteral("N");
}

void WashSequence::sendTimed(int reg, qint64 hundredths) {
    if (hundredths <= 0) return;
    outputs_.set(reg, qint32(std::min(hundredths, kLongestTimedOpening)));
}

}  // namespace dye
