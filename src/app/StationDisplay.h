#pragma once

namespace dye {

class ScanCycle;
struct StationState;

// Fills the screens from the machine inputs and the sequences' values: the
// balance readings and status words, the input indicators, the metering
// panels, the positions and the scan's diagnostic line. The one place these
// captions are written; nothing reads them back to drive the machine.
void fillStationDisplay(StationState& state, const ScanCycle& scan);

}  // namespace dye
