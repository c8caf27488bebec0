#pragma once

#include <QString>

#include <functional>

namespace dye {

struct StationState;
struct StationPanel;

// The bucket watch of the twin-balance machine (type 2), run after a
// station's step on every tick: while a metering runs and the balance reads
// more than the largest bucket weight (settings field 6), every valve of the
// station is switched off and "<00n to chenage >" logged; after 49 such ticks
// the bucket is marked full and the metering ends (step 8).
void bucketWatch(StationState& state, const StationPanel& panel,
                 const std::function<void(const QString&)>& log);

}  // namespace dye
