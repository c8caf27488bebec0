#pragma once

#include <QList>
#include <QString>

#include "jobs/JobRecord.h"

namespace dye {

class PlantService;
class PlantSession;

// The QUORBAN step-44 intake: the `chainlih` rows of one order and
// auxiliary category that wait for this machine (step 44) are marked taken
// (step 45) and queued, ten lines to a job.
class Step44Intake {
  public:
    explicit Step44Intake(PlantService& plant) : plant_(plant) {}

    // `done(found)` follows on the station's thread once the jobs are queued.
    void run(const QString& identifier, int category, std::function<void(bool found)> done);
    bool busy() const { return busy_; }

    struct Taken {
        QList<JobRecord> jobs;
        bool found = false;
    };
    // The database work: read the rows, mark them, build the jobs. Only when
    // this station's update marked as many rows as it read are they queued.
    static void take(PlantSession& session, const QString& identifier, int category,
                     double queuedAt, Taken& out);

  private:
    // False when nothing of `jobs` is queued.
    bool queue(const QList<JobRecord>& jobs);
    // Marks the lines of `jobs` waiting again (step 45 -> 44).
    void markBack(const QString& identifier, int category, const QList<JobRecord>& jobs);

    PlantService& plant_;
    bool busy_ = false;
};

}  // namespace dye
