#include "StationMetering.h"

#include "core/Dialogs.h"
#include "model/StationState.h"

namespace dye {

StationMetering::StationMetering(StationState& state, Dialogs& dialogs, Log log)
    : s_(state), dialogs_(dialogs), log_(std::move(log)) {}

void StationMetering::tick() {}

void startMetering(StationState&, int, int, const QString&) {}

}  // namespace dye
