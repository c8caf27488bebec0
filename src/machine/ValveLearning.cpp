#include "ValveLearning.h"

#include <algorithm>
#include <cmath>

namespace dye {
namespace {

// A new measurement moves a value by this share of its (clipped)
// disagreement once a few are in: about the last ten meterings count.
constexpr double kForget = 0.2;
// Disagreements are clipped to this many typical ones.
constexpr double kClip = 2.0;
// The typical disagreement follows disagreements up to this many typical ones.
constexpr double kSpreadCap = 4.0;

// Pulses at least this long teach the rate; shorter ones the dead time.
constexpr double kRatePulseSeconds = 0.5;
// An opening shorter than this (after the dead time) tells nothing of the rate.
constexpr double kShortestRateOpening = 0.05;
// What a valve can do: its rate within half and twice the table's, a dead
// time within these seconds, a fall within these seconds of flow.
constexpr double kRateLow = 0.5;
constexpr double kRateHigh = 2.0;
constexpr double kDeadLow = -0.3;
constexpr double kDeadHigh = 0.5;
constexpr double kFallLowSeconds = -0.5;
constexpr double kFallHighSeconds = 3.0;
// A long opening teaches the fall only once it gave this many seconds of
// flow: one ended at once never reached full flow, and what followed it is
// far less than what follows a running valve.
constexpr double kFallFullFlowSeconds = 1.0;
// Smallest typical disagreements: 1 % of the rate, 5 ms of dead time, 50 ms
// of flow of fall.
constexpr double kRateFloor = 0.01;
constexpr double kDeadFloor = 0.005;
constexpr double kFallFloorSeconds = 0.05;
// Dead time spread taken while nothing is learned of it.
constexpr double kUnknownDeadSpread = 0.02;
// A rate read from one metering's own pulses (its dead time unknown, its
// deltas in whole balance steps) is taken as this uncertain.
constexpr double kMeteringRateShare = 0.1;
// A long opening ends at least this many seconds of flow (more than a scan's
// flow and the reading's noise while it flows) plus three typical fall
// disagreements ahead of the target, so that a pulse finishes it.
constexpr double kLeadSeconds = 1.5;
constexpr double kFallSpreads = 3.0;
// A pulse aims short of the target by what four of its typical errors
// could carry past the tolerance.
constexpr double kPulseErrors = 4.0;
// What such a pulse leaves, at least: this many shortest doses.
constexpr double kFinishingDoses = 1.5;

}  // namespace

void learnRobust(LearnedValue& x, double measured, double floor) {
    if (!std::isfinite(measured)) return;
    if (!x.known()) {
        x.value = measured;
        x.spread = floor;
        x.count = 1;
        return;
    }
    const double typical = std::max(x.spread, floor);
    const double disagreement = measured - x.value;
    // The first few are averaged; after that the old is forgotten at kForget.
    const double gain = std::max(kForget, 1.0 / double(x.count + 1));
    x.value += gain * std::clamp(disagreement, -kClip * typical, kClip * typical);
    x.spread += gain * (std::min(std::abs(disagreement), kSpreadCap * typical) - x.spread);
    x.count = std::min(x.count + 1, 1'000'000);
}

ValveLearning::ValveLearning(QDir workdir, Log log)
    : workdir_(std::move(workdir)), log_(std::move(log)) {}

void ValveLearning::load() {
    const QString problem = loadValveAllowances(workdir_, table_);
    if (!problem.isEmpty() && log_) log_(QStringLiteral("<load> ") + problem);
}

void ValveLearning::learn(int valve, double tableRate, const MeteringNotes& notes) {
    if (!enabled_ || valve < 1 || valve > 24 || notes.disturbed || !(tableRate > 0)) return;
    ValveAllowance& a = table_[size_t(valve - 1)];
    bool changed = false;
    if (a.tableRate != tableRate) {
        a = ValveAllowance{};
        a.tableRate = tableRate;
        changed = true;
    }
    for (const MeteringNotes::Pulse& p : notes.pulses) {
        if (!(p.seconds > 0) || !std::isfinite(p.delta)) continue;
        if (p.seconds >= kRatePulseSeconds || !a.rate.known()) {
            const double open = p.seconds - (a.dead.known() ? a.dead.value : 0.0);
            if (open < kShortestRateOpening) continue;
            const double rate = p.delta / open;
            if (rate < kRateLow * tableRate || rate > kRateHigh * tableRate) continue;
            learnRobust(a.rate, rate, kRateFloor * tableRate);
        } else {
            const double dead = p.seconds - p.delta / a.rate.value;
            if (dead < kDeadLow || dead > kDeadHigh) continue;
            learnRobust(a.dead, dead, kDeadFloor);
        }
        changed = true;
    }
    if (notes.fall && notes.stopActual) {
        const double rate = a.rate.known() ? a.rate.value : tableRate;
        const double fall = *notes.fall;
        if (*notes.stopActual >= kFallFullFlowSeconds * rate && fall >= kFallLowSeconds * rate &&
            fall <= kFallHighSeconds * rate) {
            learnRobust(a.fall, fall, kFallFloorSeconds * rate);
            changed = true;
        }
    }
    if (changed) keep();
}

bool ValveLearning::reset(int valve, QString* error) {
    if (valve < 1 || valve > 24) return false;
    table_[size_t(valve - 1)] = ValveAllowance{};
    QString why;
    if (!saveValveAllowances(workdir_, table_, &why)) {
        if (error) *error = why;
        if (log_)
            log_(QStringLiteral("<learn> %1 not written: %2").arg(kValveLearnedFileName, why));
        return false;
    }
    if (log_)
        log_(QStringLiteral("<learn> valve %1: learned allowance reset, metered by the table")
                 .arg(valve));
    return true;
}

void ValveLearning::keep() {
    QString why;
    if (!saveValveAllowances(workdir_, table_, &why) && log_)
        log_(QStringLiteral("<learn> %1 not written: %2").arg(kValveLearnedFileName, why));
}

const ValveAllowance* ValveLearning::current(int valve, double tableRate) const {
    if (!enabled_ || valve < 1 || valve > 24) return nullptr;
    const ValveAllowance& a = of(valve);
    return a.tableRate == tableRate ? &a : nullptr;
}

std::optional<ValveLearning::PulseModel> ValveLearning::pulseModel(int valve,
                                                                   double tableRate) const {
    const ValveAllowance* found = current(valve, tableRate);
    if (!found) return std::nullopt;
    const ValveAllowance& a = *found;
    if (!a.rate.known() || !(a.rate.value > 0)) return std::nullopt;
    PulseModel m;
    m.rate = a.rate.value;
    m.dead = a.dead.known() ? a.dead.value : 0.0;
    m.rateShare = std::max(a.rate.spread, kRateFloor * a.rate.value) / a.rate.value;
    m.deadSpread = a.dead.known() ? std::max(a.dead.spread, kDeadFloor) : kUnknownDeadSpread;
    return m;
}

std::optional<ValveLearning::PulseModel> ValveLearning::meteringModel(const MeteringNotes& notes,
                                                                      double tableRate) const {
    if (!enabled_ || !(tableRate > 0)) return std::nullopt;
    double seconds = 0;
    double delta = 0;
    for (const MeteringNotes::Pulse& p : notes.pulses) {
        if (p.seconds < kRatePulseSeconds || !std::isfinite(p.delta)) continue;
        seconds += p.seconds;
        delta += p.delta;
    }
    if (!(seconds > 0)) return std::nullopt;
    const double rate = delta / seconds;
    if (rate < kRateLow * tableRate || rate > kRateHigh * tableRate) return std::nullopt;
    return PulseModel{rate, 0.0, kMeteringRateShare, kUnknownDeadSpread};
}

std::optional<double> ValveLearning::stopAhead(int valve, double tableRate) const {
    const ValveAllowance* found = current(valve, tableRate);
    if (!found) return std::nullopt;
    const ValveAllowance& a = *found;
    if (!a.fall.known()) return std::nullopt;
    const double rate = a.rate.known() ? a.rate.value : tableRate;
    const double spread = std::max(a.fall.spread, kFallFloorSeconds * rate);
    return a.fall.value + std::max(kLeadSeconds * rate, kFallSpreads * spread);
}

double learnedPulseSeconds(const ValveLearning::PulseModel& m, double remaining, double tolerance,
                           double shortestSeconds) {
    const double typicalError = remaining * m.rateShare + m.rate * m.deadSpread;
    const double shortest = std::max(0.0, m.dose(shortestSeconds));
    double margin = std::max(0.0, kPulseErrors * typicalError - tolerance);
    // Kept short, it leaves room for a pulse longer than the shortest, whose
    // smaller error then finishes the line. A pulse that cannot leave that
    // room and still pour a shortest dose now is the last one: it aims at
    // the target, so that no remainder is left that only a shortest dose
    // (more than the tolerance) could finish.
    if (margin > 0) margin = std::max(margin, kFinishingDoses * shortest);
    if (remaining - margin < shortest) margin = 0;
    return (remaining - margin) / m.rate + m.dead;
}

}  // namespace dye
