#include "WriteBlocks.h"

#include "files/settings/SiteProfile.h"
#include "link/Registers.h"

#include <algorithm>

#include "core/Val.h"

namespace dye {
namespace {
constexpr int kValves = 24;
}  // namespace

int valvesPerStationSetting(const QString& text) {
    // No valves on station 1 is no machine: an empty field, 0 or less counts
    // 5, as the controller routes the valves.
    const double n = Val(text);
    if (!(n >= 1)) return 5;
    // One frame carries at most 127 registers; the D847 block is N + 4 long.
    return intWithin(n, 1, 123);
}

std::vector<WriteBlock> scanWriteBlocks(int machineType, const QString& profile,
                                        int valvesPerStation) {
    const int n = valvesPerStation;
    std::vector<WriteBlock> blocks;
    if (machineType == 5) {
        blocks = {{5, 840, 1, false, false},   {7, 841, 1, false, false},
                  {10, 842, 1, false, false},  {11, 861, 14, false, false},
                  {12, 851, 10, false, false}, {13, 801, 20, false, false}};
    } else {
        if (machineType == 4) {
            blocks = {{5, 921, 1, false, false},
                      {7, 922, 5, false, false},
                      {8, 901, 3, false, false},
                      {9, 904, 16, false, false}};
        } else {
            blocks = {{8, 708, 4, false, true}, {9, 712, 4, false, true}};
        }
        blocks.push_back({10, 716, 4, false, true});
        if (siteProfileOf(profile) == SiteProfile::Pelko)
            blocks.push_back({11, 801, 30, false, false});
        else
            blocks.push_back({11, 800, 10, true, false});
        blocks.push_back({12, 847, n + 4, false, false});
        // The rest of the 24 valves, whatever the split between the stations.
        if (n < kValves) blocks.push_back({13, 851 + n, kValves - n, false, false});
    }
    blocks.push_back({14, 985, 12, false, false});
    return blocks;
}

}  // namespace dye
