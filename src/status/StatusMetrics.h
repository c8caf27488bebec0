#pragma once

#include <QByteArray>

#include "status/StatusSnapshot.h"

namespace dye {

class StatusCounters;

// GET /metrics in the Prometheus text exposition format (version 0.0.4):
// the counters since the station started, the metering error histogram,
// and the queue, link and plant gauges of the snapshot.
QByteArray statusMetrics(const StatusSnapshot& snapshot, const StatusCounters& counters);

}  // namespace dye
