#pragma once

#include <QString>

#include <vector>

namespace dye {

// One block of write slots the scan cycle sends in one step.
struct WriteBlock {
    int step;      // scan step that sends it
    int start;     // first register
    int count;     // number of slots
    bool latched;  // the D800 block: D801..D809 re-sent with their last values
    bool axis;     // an axis command block (D708..D719)
};

// The write blocks of the scan cycle for a machine type, site profile and
// number of valves per station (settings field 11), in step order. The one
// table both the scan and the switch-off of all outputs go by.
std::vector<WriteBlock> scanWriteBlocks(int machineType, const QString& profile,
                                        int valvesPerStation);

// Valves per station from the settings field text; an empty field, 0 or
// less counts 5 (the controller routes the valves the same way).
int valvesPerStationSetting(const QString& text);

}  // namespace dye
