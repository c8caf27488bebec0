#include "PulseFormula.h"

#include <algorithm>
#include <cmath>

#include "core/Val.h"

namespace dye {
namespace {

constexpr double kCorrectionLow = 0.7;
constexpr double kCorrectionHigh = 1.3;

// Cuts to a whole number within the range of a timed opening; what is below
// 1 stays as it is for the caller's minimum time.
int cutPulse(double hundredths) {
    if (!std::isfinite(hundredths)) return hundredths > 0 ? kLongestPulse : 0;
    return int(std::clamp(std::trunc(hundredths), -1.0, double(kLongestPulse)));
}

}  // namespace

std::optional<double> measuredCorrection(double lastPulse, double delta, double rate,
                                         double secondCal) {
    if (lastPulse == 0 || delta < kSmallestMeasuredDelta || rate <= 0) return std::nullopt;
    return lastPulse / (delta / rate * 100.0) * (secondCal / 100.0);
}

// The measured correction takes over from the coefficient only when both
// hold:
// - the coefficient is left at its neutral 100: any other value is the
//   technician's deliberate, fixed pulse factor (below 100 so that pulses
//   approach the target from below, above 100 for a valve that is known to
//   run slow), and learning must not undo it;
// - the correction lies within 0.7..1.3: a valve's true flow does not stray
//   further than that from its calibrated rate between two pulses, so a
//   larger deviation means the delta was disturbed (a splash, a drip after
//   the pulse, a touched bucket, a pulse too short to flow steadily) and the
//   table rate is the better guide.
// Otherwise, and always while nothing has been measured (correction 0), the
// pulse comes from the coefficient: remaining / rate x coefficient.
bool useMeasuredCorrection(double coefficient, double correction) {
    return correction != 0 && coefficient == 100 && correction >= kCorrectionLow &&
           correction <= kCorrectionHigh;
}

int pulseHundredths(double remaining, double rate, double coefficient, double correction,
                    double secondCal) {
    if (useMeasuredCorrection(coefficient, correction))
        return cutPulse(remaining / rate * 100.0 * correction * (secondCal / 100.0));
    return cutPulse(remaining / rate * coefficient);
}

int minimumOpenTime(double tableValue) {
    if (tableValue < 1) return kDefaultMinimumTime;
    return intWithin(tableValue, 1, kLongestPulse);
}

}  // namespace dye
