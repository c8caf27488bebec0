#pragma once

#include <QList>
#include <QString>

#include "soak/SoakChecks.h"
#include "soak/SoakMachine.h"

namespace dye::soak {

// What one seed's shift came to.
struct SeedResult {
    quint32 seed = 0;
    int type = 0;
    int jobs = 0;      // jobs recorded
    int lines = 0;     // their lines
    int setAside = 0;  // odd jobs the station moved aside
    qint64 machineMs = 0;
    QList<SoakFailure> failures;
    QString waiting;  // why the shift ended with a job on the machine ("" it did not)
    QString machine, faults, operatorActions;  // what the seed drew
};

// The machine type of a seed: every fifth seed is of the same type, so that a
// seed alone replays its run.
inline int typeOfSeed(quint32 seed) {
    return int(seed % 5) + 1;
}

// Runs the shift of `seed`: draws the machine, queues, operator actions,
// restarts and faults from it, runs the real station on the simulator in
// virtual time and checks the invariants all along.
SeedResult runSeed(quint32 seed, const SoakFlags& flags);

}  // namespace dye::soak
