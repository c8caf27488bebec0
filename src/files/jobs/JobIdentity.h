#pragma once

#include <QString>

#include "files/jobs/JobRecord.h"

namespace dye {

// What tells one queued job from every other: its order and bucket numbers
// and the moment it was queued (an OLE date; 0 when the queue did not say),
// compared by its bytes.
struct JobIdentity {
    QString order;
    QString bucket;
    double queuedAt = 0.0;
    bool operator==(const JobIdentity& o) const {
        return order == o.order && bucket == o.bucket && sameQueuedAt(queuedAt, o.queuedAt);
    }
};

}  // namespace dye
