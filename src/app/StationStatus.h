#pragma once

#include <QString>

#include <memory>

#include "status/StatusSnapshot.h"

namespace dye {

class Station;
class StatusService;

// The status snapshot of a station, taken between two scheduler passes.
StatusSnapshot stationStatus(Station& station);

// The read-only status service of `station` on `address` ("ADDRESS:PORT"),
// on the calling thread's event loop; nullptr with the reason when it
// cannot listen there.
std::unique_ptr<StatusService> startStatusService(Station& station, const QString& address,
                                                  QString* error);

}  // namespace dye
