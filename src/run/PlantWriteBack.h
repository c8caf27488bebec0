#pragma once

#include <QString>

namespace dye {

struct CompletedJob;

// The site profile's statements to the plant database at the end of a job.
// The run calls it with the job still on the screen, after its record is
// written; `finishText` is the record's finish time text. The default does
// nothing.
class PlantWriteBack {
  public:
    virtual ~PlantWriteBack() = default;
    // The one-balance sequence's end of a job.
    virtual void jobFinished(const CompletedJob& /*job*/, const QString& /*finishText*/) {}
    // The two-balance sequence's end of a job.
    virtual void twoBalanceJobFinished(const CompletedJob& /*job*/, const QString& /*finishText*/) {
    }
};

}  // namespace dye
