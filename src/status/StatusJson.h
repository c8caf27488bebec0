#pragma once

#include <QByteArray>

#include "status/StatusSnapshot.h"

namespace dye {

// The snapshot as the JSON document of GET /api/status: machine type, link,
// alarms, the job on the machine row by row, the queue and both balances.
// Weights are numbers (null where the screen shows no number); times are
// ISO 8601 with their offset, on the station clock.
QByteArray statusJson(const StatusSnapshot& snapshot);

}  // namespace dye
