#include "StationMetering.h"

#include <algorithm>
#include <cmath>

#include "machine/PulseFormula.h"
#include "machine/StationPanel.h"
#include "station/StationState.h"

// The metering stations' targets and their learned allowances: when a
// metering has reached its target, how long the next pulse is, how far
// ahead a long opening ends, and what a finished metering teaches.
namespace dye {
namespace {

// Without a learned allowance a long opening ends five seconds of flow ahead.
constexpr double kStopAheadSeconds = 5;
// The station's tolerance is at most this share of the target.
constexpr double kSmallLineShare = 0.5;
// With a learned allowance a remainder within this share of the job's
// tolerance is near enough: another pulse costs more time than it gains.
constexpr double kNearEnough = 0.2;

int hundredths(double seconds) {
    if (!std::isfinite(seconds)) return seconds > 0 ? kLongestPulse : 0;
    return int(std::clamp(std::round(seconds * 100.0), -1.0, double(kLongestPulse)));
}

}  // namespace

MeteringNotes& StationMetering::notes(const StationPanel& p) {
    return notes_[size_t(p.number)];
}

double StationMetering::tolerance(const StationPanel& p) const {
    return p.number == 2 ? s_.station[2].Tolerance2 : s_.settings.number(SettingsField::Tolerance);
}

double StationMetering::jobTolerance(const MeteringStation&) const {
    return s_.settings.number(SettingsField::Tolerance);
}

double StationMetering::longOpeningAhead(Valve v) const {
    return learning_.stopAhead(v.number, v.rate).value_or(kStopAheadSeconds * v.rate);
}

// The metering has reached its target once something was poured and:
// - by the described rule, what remains lies within the station's
//   tolerance, taken as at most half the target so that a line at or below
//   the tolerance still gets its product; or it lies within the job's
//   tolerance (at most half the target) and the next pulse would be a
//   minimum one (the fine balance's
//   finer tolerance never buys a minimum pulse that lands further off);
// - with the valve's learned allowance, what remains lies within the job's
//   tolerance and no pulse can bring it clearly nearer: it is within half
//   the valve's shortest dose, or near enough. A remainder below zero is
//   always the end: nothing takes product out.
bool StationMetering::reached(const StationPanel& p, const MeteringStation& st, Valve v) const {
    if (!st.poured) return false;
    const double remaining = st.cal.remaining;
    const double job = jobTolerance(st);
    const auto model = pulseModel(p, v);
    if (!model) {
        if (remaining <= std::min(tolerance(p), kSmallLineShare * st.target)) return true;
        return remaining <= std::min(job, kSmallLineShare * st.target) &&
               nextPulse(p, st, v) <= st.MinOpenTime;
    }
    if (remaining <= 0 || remaining <= std::min(tolerance(p), kNearEnough * job)) return true;
    const double shortest = model->dose(st.MinOpenTime / 100.0);
    return remaining <= job && remaining <= std::max(shortest / 2, kNearEnough * job);
}

// The valve's learned model, else what this metering's own pulses told.
std::optional<ValveLearning::PulseModel> StationMetering::pulseModel(const StationPanel& p,
                                                                     Valve v) const {
    if (auto learned = learning_.pulseModel(v.number, v.rate)) return learned;
    return learning_.meteringModel(notes_[size_t(p.number)], v.rate);
}

int StationMetering::nextPulse(const StationPanel& p, const MeteringStation& st, Valve v) const {
    const double remaining = st.cal.remaining;
    if (const auto model = pulseModel(p, v))
        return hundredths(
            learnedPulseSeconds(*model, remaining, jobTolerance(st), st.MinOpenTime / 100.0));
    return pulseHundredths(remaining, v.rate, s_.settings.number(SettingsField::Coefficient),
                           st.cal.correction, s_.settings.number(SettingsField::SecondCal));
}

// At a settled pulse computation: what arrived since the long opening was
// ended, and what the last pulse brought.
void StationMetering::noteSettled(const StationPanel& p, const MeteringStation& st, double actual) {
    MeteringNotes& n = notes(p);
    if (n.stopActual && !n.fall) n.fall = actual - *n.stopActual;
    if (st.cal.lastPulse > 0) n.pulses.push_back({st.cal.lastPulse / 100.0, st.cal.delta});
}

void StationMetering::noteLastPulse(const StationPanel& p, const MeteringStation& st,
                                    double delta) {
    if (st.cal.lastPulse > 0) notes(p).pulses.push_back({st.cal.lastPulse / 100.0, delta});
}

// A metering that ended by the bucket watch, or met an alarm, a link loss or
// an overload on its way, teaches nothing.
void StationMetering::learnFrom(const StationPanel& p, const MeteringStation& st) {
    MeteringNotes& n = notes(p);
    if (st.BucketFull != 0 || st.OverTicks > 0) n.disturbed = true;
    if (st.valve >= 1 && st.valve <= MachineSettings::kValveCount)
        learning_.learn(st.valve, s_.settings.valveRate(st.valve), n);
    n.clear();
}

}  // namespace dye
