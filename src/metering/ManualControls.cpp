#include "ManualControls.h"

#include "model/StationState.h"

namespace dye {

ManualControls::ManualControls(StationState& state, QDir workdir, ScreenRequests screens)
    : s_(state), workdir_(std::move(workdir)), screens_(std::move(screens)) {}

}  // namespace dye
