#pragma once

#include <QString>

namespace dye {

struct StationState;

// The site profile's statements to the plant database at the end of a job.
// The run calls it with the job still on the screen; the database issue
// fills it in. The default does nothing.
class PlantWriteBack {
  public:
    virtual ~PlantWriteBack() = default;
    // One-balance sequence: the DRAYMOR, TALBERT and MARIGOLD write-backs.
    virtual void jobFinished(StationState& /*state*/) {}
    // Two-balance sequence: the QUORBAN write-back.
    virtual void twoBalanceJobFinished(StationState& /*state*/) {}
};

}  // namespace dye
