#include "WriteBlocks.h"

#include <algorithm>

#include "core/Val.h"

namespace dye {

int valvesPerStationSetting(const QString& text) {
    if (text.trimmed().isEmpty()) return 5;
    // One frame carries at most 127 registers; the D847 block is N + 4 long.
    return std::clamp(int(Val(text)), 0, 123);
}

std::vector<WriteBlock> scanWriteBlocks(int machineType, const QString& profile,
                                        int valvesPerStation) {
    const int n = valvesPerStation;
    std::vector<WriteBlock> blocks;
    if (machineType == 5) {
        blocks = {{5, 840, 1, false, false},   {7, 841, 1, false, false},
                  {10, 842, 1, false, false},  {11, 861, 10, false, false},
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
        if (profile.trimmed() == QStringLiteral("PELKO"))
            blocks.push_back({11, 801, 30, false, false});
        else
            blocks.push_back({11, 800, 10, true, false});
        blocks.push_back({12, 847, n + 4, false, false});
        blocks.push_back({13, 851 + n, n, false, false});
    }
    blocks.push_back({14, 985, 12, false, false});
    return blocks;
}

}  // namespace dye
