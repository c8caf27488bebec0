#include "StationMetering.h"

#include <algorithm>
#include <cmath>

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "core/Val.h"
#include "link/Registers.h"
#include "machine/BucketWatch.h"
#include "machine/NoFlowWatch.h"
#include "machine/PulseFormula.h"
#include "machine/StationPanel.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr qint32 kLongOpening = 30000;
constexpr qint32 kClose = RegisterImage::RegNoValue;
constexpr double kZeroDrift = 200;     // over-weight at zero
constexpr int kZeroTicks = 10;         // 1 s of taking zero
constexpr int kSettleTicksType5 = 50;  // the fine balance of type 5 settles for 5 s
constexpr int kEndLongOpeningTick = 30;
constexpr int kPulseTick = 80;  // pulse computation, and the check after a pulse
// A pulse is checked once it has run its time and this long after it (the
// 8 s above cover a pulse of up to 5 s): a longer pulse still pouring at
// the check would end the metering with product still coming.
constexpr int kAfterPulseTicks = 30;
constexpr int kFirstPulseTicks = 70;
constexpr int kStallEndsOpening = 13;
constexpr int kStallAlarm = 15;
// The no-flow watch of the pulses: this many pulses in a row that brought
// less than their share of what they should have raise the alarm; a pulse
// expected to bring less than the judged delivery is not weighed.
constexpr int kEmptyPulsesAlarm = 3;
constexpr double kEmptyPulseShare = 0.25;
constexpr double kJudgedPulseDelivery = 2;

}  // namespace

StationMetering::StationMetering(StationState& state, Dialogs& dialogs, ValveLearning& learning,
                                 Log log)
    : s_(state), dialogs_(dialogs), learning_(learning), log_(std::move(log)) {}

void StationMetering::tick() {
    for (int n : {1, 2}) {
        const StationPanel p = StationPanel::of(n);
        watchOverload(p);
        runStation(p);
    }
}

void StationMetering::runStation(const StationPanel& p) {
    MeteringStation& st = s_.station[size_t(p.number)];
    if (st.parked) return;
    // No step is taken on a reading that is not current: a frozen weight
    // could end a metering as done, or let it pass its target unnoticed.
    if (!s_.linkUsable() || !s_.balance(p.number).fresh) {
        if (st.StationStep != 0) st.heldByLink = true;
        return;
    }
    if (st.heldByLink) resumeAfterLinkLoss(p, st);

    Valve v;
    switch (st.StationStep) {
        case 1:
            takeZero(p, st);
            break;
        case 2:
            settle(p, st);
            break;
        case 3:
            if (meterable(p, st, v)) chooseMethod(p, st, v);
            break;
        case 4:
            if (meterable(p, st, v)) openLong(p, st, v);
            break;
        case 5:
            if (meterable(p, st, v)) longOpeningRuns(p, st, v);
            break;
        case 6:
            if (meterable(p, st, v)) computePulse(p, st, v);
            break;
        case 7:
            if (meterable(p, st, v)) pulseRuns(p, st, v);
            break;
        case 8:
            end(p, st);
            break;
        default:  // 0 idle; 9 and 10 do nothing
            break;
    }
    if (!st.parked)
        bucketWatch(s_, p, [this](const QString& line) {
            if (log_) log_(line);
        });
}

void StationMetering::takeZero(const StationPanel& p, MeteringStation& st) {
    st.actual.reset();
    st.finalWeight.reset();
    st.cal.lastPulse = 0;
    st.cal.baseWeight = 0;
    st.cal.delta = 0;
    st.cal.correction = 0;
    st.poured = false;
    st.emptyPulses = 0;
    notes(p).clear();
    if (p.number == 2) st.Tolerance2 = s_.machineType() == 5 ? 0.3 : jobTolerance(st);

    const double reading = s_.balance(p.number).weight;
    // The zero and the reading compared as they stand: a bucket drained
    // below its tare reads negative, and its zero must match that.
    if (std::abs(st.zero - reading) >= kZeroDrift) {
        // Something came onto the balance while the zero was taken: the
        // operator is told, and the zero is taken again from the reading then.
        st.StationTicks = 0;
        raiseAlarm(p, p.overWeightCode(),
                   QStringLiteral("<%1> ERR OVER (200) WEIGHT").arg(p.number),
                   [this, p] { s_.station[size_t(p.number)].zero = s_.balance(p.number).weight; });
        return;
    }
    if (++st.StationTicks < kZeroTicks) return;
    st.zero = st.ZeroHold == 1 ? 0.0 : reading;
    st.StationTicks = 0;
    st.OverTicks = 0;
    st.StationStep = 2;
}

void StationMetering::settle(const StationPanel& p, MeteringStation& st) {
    showActual(p);
    if (s_.machineType() != 5) {
        st.StationStep = 3;
        return;
    }
    if (++st.StationTicks > kSettleTicksType5) {
        st.StationTicks = 0;
        st.StationStep = 3;
    }
}

void StationMetering::chooseMethod(const StationPanel& p, MeteringStation& st, Valve v) {
    // Up to a few seconds' flow is metered by pulses alone; station 1 of a
    // machine without a one-balance gantry takes twice as much that way.
    const int seconds = p.number == 1 && s_.machineType() != 1 ? 4 : 2;
    const double limit = seconds * v.rate;
    clearNoFlowWatch(st);
    if (limit >= st.target) {
        st.StationStep = 6;
        st.StationTicks = kFirstPulseTicks;
        log(p, QStringLiteral(" to MIN CAL >"));
    } else {
        // The settle after the long opening counts from here: a method
        // chosen again after an alarm must not start it past its tick.
        st.StationTicks = 0;
        st.StationStep = 4;
        log(p, QStringLiteral(" to MAX CAL >"));
    }
}

void StationMetering::openLong(const StationPanel& p, MeteringStation& st, Valve v) {
    s_.link.image.set(v.reg(), kLongOpening);
    openedRegister_[size_t(p.number)] = v.reg();
    st.poured = true;
    st.StationStep = 5;
    log(p, QStringLiteral(" to open >   <no> %1   30000").arg(v.number));
}

void StationMetering::longOpeningRuns(const StationPanel& p, MeteringStation& st, Valve v) {
    const double actual = showActual(p);
    advanceNoFlowWatch(st, actual);
    if (st.StallCount == kStallEndsOpening) s_.link.image.set(v.reg(), kClose);
    if (st.StallCount >= kStallAlarm) {
        noFlowAlarm(p, p.noFlowLongCode(), v.number);
        return;
    }
    // Stop short of the target (by five seconds of flow, or the valve's
    // learned allowance); pulses do the rest.
    if (st.target - actual - longOpeningAhead(v) < 0) {
        s_.link.image.set(v.reg(), kClose);
        notes(p).stopActual = actual;
        st.StationStep = 6;
        log(p, QStringLiteral(">   <no> %1   <stop>").arg(v.number));
    }
}

void StationMetering::computePulse(const StationPanel& p, MeteringStation& st, Valve v) {
    ++st.StationTicks;
    const double actual = showActual(p);
    if (st.StationTicks == kEndLongOpeningTick) s_.link.image.set(v.reg(), kClose);
    if (st.StationTicks != kPulseTick) return;

    const double secondCal = s_.settings.number(SettingsField::SecondCal);
    CalRecord& cal = st.cal;
    cal.delta = actual - cal.baseWeight;
    // A pulse is watched by what it delivered: a few pulses in a row that
    // brought nothing are a valve that does not flow, told at once instead of
    // after the no-flow watch's phases (one per pulse) have come round.
    if (cal.lastPulse > 0) {
        // Only a pulse that should bring a clear weight is judged.
        const double expected = v.rate * cal.lastPulse / 100.0;
        if (expected >= kJudgedPulseDelivery)
            st.emptyPulses = cal.delta < kEmptyPulseShare * expected ? st.emptyPulses + 1 : 0;
        if (st.emptyPulses >= kEmptyPulsesAlarm) {
            st.emptyPulses = 0;
            cal.lastPulse = 0;
            noFlowAlarm(p, p.noFlowPulseCode(), v.number);
            return;
        }
    }
    noteSettled(p, st, actual);
    if (auto c = measuredCorrection(cal.lastPulse, cal.delta, v.rate, secondCal))
        cal.correction = *c;
    cal.baseWeight = actual;
    cal.remaining = st.target - actual;
    st.MinOpenTime = minimumOpenTime(s_.settings.valveMinimumTime(v.number));
    if (reached(p, st, v)) {
        st.StationStep = 8;
        st.StationTicks = 0;
        return;
    }

    const int pulse = std::max(nextPulse(p, st, v), st.MinOpenTime);
    s_.link.image.set(v.reg(), pulse);
    openedRegister_[size_t(p.number)] = v.reg();
    st.poured = true;
    // The next correction compares what this pulse delivers with the opening
    // it really had, so a pulse raised to the minimum time is remembered as
    // raised; remembering the shorter computed one would make the valve look
    // faster than it is.
    cal.lastPulse = pulse;
    if (p.number == 1) st.OpenValveRegister = v.reg();
    st.StationStep = 7;
    st.StationTicks = 0;
    advanceNoFlowWatch(st, actual);
    log(p, QStringLiteral(" to open >   <no> %1   <open>%2").arg(v.number).arg(pulse));
    if (st.StallCount >= kStallAlarm) noFlowAlarm(p, p.noFlowPulseCode(), v.number);
}

void StationMetering::pulseRuns(const StationPanel& p, MeteringStation& st, Valve v) {
    ++st.StationTicks;
    const double actual = showActual(p);
    const int pulseTicks = (st.cal.lastPulse + 9) / 10;
    if (st.StationTicks != std::max(kPulseTick, pulseTicks + kAfterPulseTicks)) return;
    st.cal.remaining = st.target - actual;
    if (reached(p, st, v)) {
        noteLastPulse(p, st, actual - st.cal.baseWeight);
        if (p.number == 1) s_.link.image.set(st.OpenValveRegister, kClose);
        st.StationStep = 8;
        st.StationTicks = 0;
        return;
    }
    // Next pulse computed 2 s (station 2: 1 s) from now.
    st.StationStep = 6;
    st.StationTicks = p.number == 1 ? 60 : 70;
    log(p, QStringLiteral(" to re cal >"));
}

void StationMetering::end(const StationPanel& p, MeteringStation& st) {
    learnFrom(p, st);
    st.finalWeight = st.actual;
    st.StationStep = 0;
    st.ZeroHold = 0;
    log(p, QStringLiteral(" to end cal >"));
}

double StationMetering::showActual(const StationPanel& p) {
    MeteringStation& st = s_.station[size_t(p.number)];
    const double actual = s_.balance(p.number).weight - st.zero;
    st.actual = actual;
    return actual;
}

// The controller was out of reach and every output has been switched off
// since: an opening in progress was cut short. A long opening is chosen
// anew, a pulse is settled and computed again, and no correction is
// measured from a pulse that may not have run its time.
void StationMetering::resumeAfterLinkLoss(const StationPanel& p, MeteringStation& st) {
    st.heldByLink = false;
    notes(p).disturbed = true;
    st.cal.lastPulse = 0;
    switch (st.StationStep) {
        case 1:
            st.StationTicks = 0;
            break;
        case 4:
        case 5:
            st.StationStep = 3;
            clearNoFlowWatch(st);
            break;
        case 7:
            st.StationStep = 6;
            st.StationTicks = 0;
            break;
        default:
            break;
    }
    log(p, QStringLiteral(" link back > step %1").arg(st.StationStep));
}

void StationMetering::log(const StationPanel& p, const QString& text) const {
    if (log_) log_(p.tag() + text);
}

void startMetering(StationState& state, int station, int valve, const QString& target, int row) {
    if (station != 1 && station != 2) return;
    const StationPanel p = StationPanel::of(station);
    MeteringStation& st = state.station[size_t(station)];
    // Started over a long opening that is still on: that opening ends first.
    if ((st.StationStep == 4 || st.StationStep == 5) && st.valve >= 1 &&
        st.valve <= MachineSettings::kValveCount)
        state.link.image.set(reg::valve(st.valve), kClose);
    st.valve = valve;
    state.form2.Combo[p.comboIndex()] = QString::number(valve);  // the valve box shows it
    st.zero = st.ZeroHold == 1 ? 0.0 : state.balance(station).weight;
    st.target = Val(target.trimmed());
    st.heldByLink = false;
    st.parked = false;  // an alarm still on the screen no longer concerns this metering
    st.row = row;
    st.noFlowAlarms = 0;
    st.skipped = false;
    st.StationTicks = 0;
    st.StationStep = 1;
}

}  // namespace dye
