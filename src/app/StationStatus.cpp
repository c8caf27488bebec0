#include "app/StationStatus.h"

#include "app/Station.h"
#include "status/StatusProjection.h"
#include "status/StatusService.h"

namespace dye {

StatusSnapshot stationStatus(Station& station) {
    return statusSnapshot({station.state, station.transfer(), station.twoBalance(),
                           &station.alarms(), station.plant(), station.clock});
}

std::unique_ptr<StatusService> startStatusService(Station& station, const QString& address,
                                                  QString* error) {
    QHostAddress host;
    quint16 port = 0;
    if (!parseListenAddress(address, &host, &port, error)) return nullptr;
    auto service = std::make_unique<StatusService>(StatusService::Sources{
        [&station] { return stationStatus(station); }, &station.statusCounters(), &station.lang()});
    if (!service->listen(host, port, error)) {
        *error = QStringLiteral("the status service cannot listen on %1: %2").arg(address, *error);
        return nullptr;
    }
    return service;
}

}  // namespace dye
