#pragma once

#include <QDir>
#include <QString>

#include <random>
#include <vector>

#include "files/jobs/JobRecord.h"
#include "soak/SoakMachine.h"

namespace dye::soak {

// One job of the shift as another program writes it into the queue, with
// what the soak expects of it.
struct SoakJob {
    JobRecord record;
    // What is odd about it ("" nothing): "comma weight", "blank row",
    // "unknown code", "bucket with no place", "code on the other station
    // only" (type 5).
    QString odd;
    // The station must move it aside with a message, never dispense it.
    bool setAside = false;
    // The station may move it aside with a message, or dispense it right.
    bool maySetAside = false;
    // The record lineSlots (0..9) that carry a code, in order: the grid rows.
    std::vector<int> lineSlots;
    // Machine time the job may take at most, from its content.
    qint64 boundMs = 0;

    QString order() const { return record.OrderNo; }
    QString describe() const;
};

// Draws job `n` of the shift of `seed` for `machine`, queued at `queuedAt`
// (an OLE date). Odd inputs only when `odd`.
SoakJob drawJob(std::mt19937& random, const SoakMachine& machine, quint32 seed, int n,
                double queuedAt, bool odd);

// Appends the job to the working directory's queue file, as another program
// would; "" or why it could not.
QString queueJob(const QDir& workdir, const SoakJob& job);

}  // namespace dye::soak
