#pragma once

#include "status/StatusSnapshot.h"

namespace dye {

class AlarmBoard;
class Clock;
class PlantService;
class TransferSequence;
class TwoBalanceSequence;
struct StationState;

// The parts of the station the status service shows, read only.
struct StatusSources {
    const StationState& state;
    const TransferSequence& transfer;
    const TwoBalanceSequence& twoBalance;
    const AlarmBoard* alarms;  // none: no message is kept
    const PlantService& plant;
    const Clock& clock;
};

// The status snapshot: a projection of the screens (the job on the main
// screen, its grid, the queue list, the balances) and of the link's health.
StatusSnapshot statusSnapshot(const StatusSources& sources);

}  // namespace dye
