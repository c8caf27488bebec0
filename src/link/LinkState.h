#pragma once

#include <array>

#include "link/LinkHealth.h"
#include "link/MachineInputs.h"
#include "link/RegisterImage.h"

namespace dye {

// Position triple of one axis: old position, new position, difference. The
// robot check moves by entry 2; homing sets entry 0 to 0.
using AxisMove = std::array<qint16, 3>;

// The two-balance lanes' job-end code, in all three phase registers of a
// lane: the controller changes the lane's bucket.
inline constexpr int kLaneJobEnd = 5;
// The first phase register (D990 or D994) of lane 1 or 2.
constexpr int lanePhaseRegister(int lane) {
    return lane == 2 ? 994 : 990;
}

// What the link keeps for the rest of the station: the register image the
// sequences write their commands into, the decoded machine inputs, the
// link's health, and the axis work the scan carries out (timed routine and
// robot check).
struct LinkState {
    RegisterImage image;
    MachineInputs inputs;
    LinkHealth health;

    int homingCounter =
        0;                // seconds since the axis-zero routine was armed; 0 when it is not running
    int homingDelay = 0;  // the shared manual-move value: delays the X and Y homing
    int RobotCheckState = 0;
    int RobotMessageBusy = 0;  // 9 while the robot message waits for the operator
    AxisMove MoveX{};
    AxisMove MoveY{};  // third axis
    AxisMove MoveZ{};
    // Lane n's job-end code (5 in its three phase registers, which changes
    // the bucket) is owed to the controller: set at the end of a two-balance
    // job, cleared once the next job's lane has seen the scan take it.
    std::array<bool, 2> laneEndOwed{};
};

}  // namespace dye
