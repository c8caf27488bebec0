#pragma once

namespace dye {

class Station;

// The simulated machine's bucket ready buttons (--sim-lane-ready manual):
// SIGUSR1 presses lane 1's, SIGUSR2 lane 2's, as dyesim takes them, so that
// a two-balance job on the simulated machine can be walked bucket by bucket.
// Nothing is installed while the buttons press themselves (the default).
void pressLaneButtonsOnSignals(Station& station);

}  // namespace dye
