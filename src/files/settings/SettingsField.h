#pragma once

namespace dye {

// The machine settings fields (JUCIsetting.txt, records 1..38) by what they
// hold. Field i is record i + 1; the settings screen shows it as Text1(i).
namespace SettingsField {
enum : int {
    Port = 0,               // "ComPort"
    ScanInterval = 1,       // the scan timer's interval, ms
    Coefficient = 2,        // the metering correction coefficient, 30..300
    WashCount = 3,          // wash cycles
    WashWater = 4,          // wash water, seconds
    MachineType = 5,        // 1 conveyor, 2 two balances, 3, 4, 5
    BucketFullWeight = 6,   // the weight at which a bucket counts as full
    Tolerance = 7,          // the metering target tolerance
    EveryItem = 8,          // 1: a new bucket for every item
    Language = 9,           // 0 Traditional Chinese, 1 English, 2 Simplified Chinese
    DropFolder = 10,        // the plant's drop-file folder
    ValvesPerStation = 11,  // valves on station 1 (the rest on station 2)
    HomingDelay = 12,       // the delay of the X and Y homing after the pipe rises
    DatabaseUser = 13,      // "LINK ID"
    DatabasePassword = 14,  // "PASSWORD"
    DataSource = 15,        // the ODBC data source's name
    SiteProfile = 16,       // "LINK TYPE": the site profile
    MixerValves = 17,       // the mixers' outputs (Y30..Y33)
    MixLevel = 18,          // "MIX ON": the mixers' level, 30..200
    SecondCal = 19,         // the second calibration's weight
    Gate = 20,              // "N" leaves the gate shut during a wash
    StationId = 21,         // the station's name in the plant's status rows
    WashOnStart = 22,       // 1: WASH1 starts ticked
    ExtraWater = 23,        // "OVER WATER", seconds
    ConveyorSplit = 24,     // the bucket place that splits the conveyor
    CoarseFineLimit = 25,   // type 5: up to this weight on the fine balance
    IdleMixing = 36,        // 1: mix after six idle hours
    DyeMixFolder = 37,      // the dye-mix files' folder
};
}  // namespace SettingsField

}  // namespace dye
