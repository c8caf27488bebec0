#include "WashSequence.h"

#include "core/Dialogs.h"
#include "model/StationState.h"

namespace dye {

WashSequence::WashSequence(StationState& state, Dialogs& dialogs, Log log)
    : s_(state), dialogs_(dialogs), log_(std::move(log)) {}

void WashSequence::tick() {}

}  // namespace dye
