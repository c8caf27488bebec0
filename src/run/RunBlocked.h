#pragma once

#include <QString>

namespace dye {

struct StationState;

// Why the run cannot take a job at all, for the main screen ("" when it can):
// a machine type outside 1..5 arms no run, settings out of their range or a
// valve table that cannot meter would dose wrongly, and without a working controller
// link a job would only wait on a machine that never answers.
QString runBlockedReason(const StationState& state);

}  // namespace dye
