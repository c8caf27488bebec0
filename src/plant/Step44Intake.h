#pragma once

#include <QList>
#include <QString>

#include <functional>

#include "files/jobs/JobRecord.h"
#include "plant/PlantClaims.h"

namespace dye {

class MachineSettings;
class PlantService;
class PlantSession;

// The QUORBAN step-44 intake: the `chainlih` rows of one order and
// auxiliary category that wait for this machine (step 44) are marked taken
// (step 45) and queued, ten lines to a job. An order with a line the
// machine cannot dose is not marked; it is said in the log.
class Step44Intake {
  public:
    explicit Step44Intake(PlantService& plant) : plant_(plant) {}

    // `done(found)` follows on the station's thread once the jobs are queued.
    void run(const QString& identifier, int category, std::function<void(bool found)> done);
    bool busy() const { return busy_; }

    struct Taken {
        QList<JobRecord> jobs;
        bool found = false;
        PlantClaim entry;  // its entry in the claims file
    };
    // The database work: read the rows, check every line, mark them, build
    // the jobs. Only when this station's update marked as many rows as it
    // read are they queued; otherwise the rows marked go back to step 44.
    // `afterRead` runs between the read and the mark (the plant's own writes
    // may fall there). The claim's entry goes into `claims` before the mark
    // (none: no entry is written).
    static void take(PlantSession& session, const QString& identifier, int category,
                     double queuedAt, const MachineSettings& settings, Taken& out,
                     const std::function<void()>& afterRead = {},
                     const PlantClaims* claims = nullptr);

  private:
    PlantService& plant_;
    bool busy_ = false;
};

}  // namespace dye
