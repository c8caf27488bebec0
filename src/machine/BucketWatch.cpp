#include "BucketWatch.h"

#include <algorithm>
#include <cmath>

#include "link/Registers.h"
#include "link/WriteBlocks.h"
#include "machine/StationPanel.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr int kBucketTicks = 49;
constexpr int kFirstValveRegister = reg::valve(1);
constexpr int kLastValveRegister = reg::valve(MachineSettings::kValveCount);

}  // namespace

void bucketWatch(StationState& s, const StationPanel& p,
                 const std::function<void(const QString&)>& log) {
    MeteringStation& st = s.station[size_t(p.number)];
    if (s.machineType() != 2 || st.BucketFull != 0 || st.StationStep == 0) return;
    if (!(std::abs(s.balance(p.number).weight + st.tared) >
          s.settings.number(SettingsField::BucketFullWeight)))
        return;

    ++st.OverTicks;
    const auto [first, last] = stationValveRegisters(s, p.number);
    for (int r = first; r <= last; ++r) s.link.image.set(r, RegisterImage::RegNoValue);
    st.ZeroHold = 0;
    log(p.tag() + QStringLiteral(" to chenage >"));

    if (st.OverTicks >= kBucketTicks) {
        st.BucketFull = 1;
        st.StationStep = 8;
        st.StationTicks = 0;
        st.OverTicks = 0;
    }
}

std::pair<int, int> stationValveRegisters(StationState& s, int station) {
    // Whatever the setting holds, never a register beyond the valves.
    const int v = valvesPerStationSetting(s.settings.Text1(SettingsField::ValvesPerStation));
    const int first =
        std::max(kFirstValveRegister, station == 2 ? reg::valve(1 + v) : kFirstValveRegister);
    // Station 2 has every valve after station 1's, as the controller routes them.
    const int last =
        std::min(kLastValveRegister, station == 2 ? kLastValveRegister : reg::valve(v));
    return {first, last};
}

}  // namespace dye
