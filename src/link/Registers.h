#pragma once

namespace dye::reg {

// The controller's D registers, shared by the station and the simulator.

// Read by the scan.
inline constexpr int Weight1 = 190;     // balance 1's gross weight, 32 bits, raw counts
inline constexpr int Weight2 = 192;     // balance 2's
inline constexpr int SignWord1 = 274;   // 43 while balance 1's weight is negative, else 45
inline constexpr int SignWord2 = 275;   // balance 2's
inline constexpr int LaneReady1 = 276;  // lane 1's "bucket ready" button
inline constexpr int LaneReady2 = 277;  // lane 2's
inline constexpr int PipeHeadDown = 297;
inline constexpr int FirstSwitch = 298;  // D298..D309: home and limit switches, busy flags
inline constexpr int YBusy = 301;
inline constexpr int XBusy = 304;
inline constexpr int ZBusy = 307;

// Axis command blocks: direction, speed, distance, mode.
inline constexpr int AxisY = 708;
inline constexpr int AxisX = 712;
inline constexpr int AxisZ = 716;

// Outputs: 1..29999 on for that many hundredths of a second, 30000 and above
// on until a 0 arrives, 0 off.
constexpr int output(int k) {
    return 800 + k;
}  // D800..D830 (mixers, D801..D808)
inline constexpr int Air1 = 840;  // lane 1's go on two-balance machines
inline constexpr int Air2 = 841;  // lane 2's go on two-balance machines
inline constexpr int WaterIn = 842;
inline constexpr int ConveyorMotor = 847;
constexpr int valve(int v) {
    return 850 + v;
}  // product valves 1..24: D851..D874
constexpr int conveyor(int k) {
    return 900 + k;
}  // the conveyor's outputs 1..26: D901..D926
inline constexpr int DrainValve = 903;
inline constexpr int WaterValve = 985;
inline constexpr int GateValve = 986;

// The registers the controller treats as outputs: a 0 written to one switches
// it off. Every other write register is a command or a phase code, where 0
// commands nothing.
constexpr bool isOutput(int d) {
    return (d >= output(0) && d <= output(30)) || (d >= Air1 && d <= WaterIn) ||
           d == ConveyorMotor || (d >= valve(1) && d <= valve(24)) ||
           (d >= conveyor(1) && d <= conveyor(26)) || d == WaterValve || d == GateValve;
}

// Commands.
inline constexpr int Tare1 = 989;   // 10 zeroes balance 1
inline constexpr int Tare2 = 993;   // 10 zeroes balance 2
inline constexpr int Phase1 = 990;  // D990..D992: the run's phase codes (lane 1)
inline constexpr int Phase2 = 994;  // D994..D996: lane 2's

}  // namespace dye::reg
