#include "run/TwoBalanceLane.h"

#include "core/Val.h"
#include "machine/BucketWatch.h"
#include "station/StationState.h"

namespace dye {

void lanePhase(StationState& s, const Lane& lane, int a, int b, int c) {
    const int first = lane.phaseRegister();
    s.link.image.set(first, a);
    s.link.image.set(first + 1, b);
    s.link.image.set(first + 2, c);
}

void tareLane(StationState& s, const Lane& lane) {
    MeteringStation& st = s.station[size_t(lane.number)];
    st.tared += s.balance(lane.number).weight;
    s.link.image.set(lane.tareRegister(), 10);
}

void closeLaneValves(StationState& s, const Lane& lane) {
    const auto [first, last] = stationValveRegisters(s, lane.number);
    for (int r = first; r <= last; ++r) s.link.image.set(r, RegisterImage::RegNoValue);
}

int laneValve(StationState& s, const Lane& lane, int row) {
    const int tube = s.job.row(row).valve();
    if (s.machineType() != 5) return tube;
    const QString& code = s.job.row(row).code;
    const auto [first, last] = stationValveRegisters(s, lane.number);
    for (int r = first; r <= last; ++r)
        if (s.settings.valveCode(r - 850).trimmed() == code) return r - 850;
    return 0;  // no valve there: refused by the station, never poured elsewhere
}

}  // namespace dye
