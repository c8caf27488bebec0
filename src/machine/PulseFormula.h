#pragma once

#include <optional>

namespace dye {

// The arithmetic of a timed pulse: how long to open a valve for what remains,
// and what the previous pulse taught about the valve. Openings are in
// hundredths of a second, weights in balance units, rates in units per second.

// Longest timed opening: 30000 and more holds a valve open until it is
// closed, so a computed pulse never goes beyond this.
inline constexpr int kLongestPulse = 29999;
// Shortest opening when the valve table gives none (below 1).
inline constexpr int kDefaultMinimumTime = 15;
// A delta below this tells too little about the valve to correct it.
inline constexpr double kSmallestMeasuredDelta = 10.0;

// The correction the last pulse measured: the opening it was given over the
// opening the table rate says its delta takes, weighted by Second CAL
// (percent). None when there was no pulse or it delivered too little to tell;
// the previous correction then stands.
std::optional<double> measuredCorrection(double lastPulse, double delta, double rate,
                                         double secondCal);

// Whether the next pulse is computed from the measured correction rather than
// from the coefficient setting.
bool useMeasuredCorrection(double coefficient, double correction);

// The pulse for `remaining` (rate above 0), cut to a whole number and kept
// at or below kLongestPulse; it may be 0 or less (nothing or too little
// remains), which the caller raises to the valve's minimum time.
int pulseHundredths(double remaining, double rate, double coefficient, double correction,
                    double secondCal);

// The valve table's minimum time, as the shortest opening actually sent.
int minimumOpenTime(double tableValue);

}  // namespace dye
