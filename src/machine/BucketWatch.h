#pragma once

#include <QString>

#include <functional>
#include <utility>

namespace dye {

struct StationState;
struct StationPanel;

// The bucket watch of the twin-balance machine (type 2), run after a
// station's step on every tick: while a metering runs and the balance reads
// more than the largest bucket weight (settings field 6), every valve of the
// station is switched off and "<00n to chenage >" logged; after 49 such ticks
// the bucket is marked full and the metering ends (step 8). The content it
// weighs is the reading plus what the bucket held at its last tare.
void bucketWatch(StationState& state, const StationPanel& panel,
                 const std::function<void(const QString&)>& log);

// The first and last opening register of station 1's or station 2's valves:
// D851..D(850+v) and D(851+v)..D874, v = valves per station (settings
// field 11, 5 when empty, 0 or less), never beyond the 24 valves.
std::pair<int, int> stationValveRegisters(StationState& state, int station);

}  // namespace dye
