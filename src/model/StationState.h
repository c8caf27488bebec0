#pragma once

#include <array>

#include "link/RegisterImage.h"
#include "model/Form11.h"
#include "model/Form15.h"
#include "model/Form2.h"
#include "model/Form3.h"
#include "model/Form4.h"
#include "model/Form7.h"
#include "model/Form9.h"
#include "model/StationValues.h"
#include "settings/MachineSettings.h"

namespace dye {

// Position triple of one axis: old position, new position, difference. The
// robot check moves by entry 2; homing sets entry 0 to 0.
using AxisMove = std::array<qint16, 3>;

// Everything the screens and the shared modules hold, in one place, so that
// two stations can live side by side in one test. Sequences read and write
// it; views only show it.
struct StationState {
    MachineSettings settings;  // the settings form's fields, read at the moment of use
    Form2 form2;               // SettingsForm
    Form3 form3;               // MainForm
    Form4 form4;               // records viewer
    Form7 form7;               // single dispensing entry
    Form9 form9;               // PositionForm
    Form11 form11;             // order list window
    Form13 form13;             // closing notice
    Form15 form15;             // auxiliary category picker

    RegisterImage image;
    std::array<qint16, 16> MachineStatus{};

    // Metering stations: [1] station 1, [2] station 2 ([0] unused).
    std::array<MeteringStation, 3> station{};
    WashRequest wash;

    // Timed routine and robot check.
    int Timer3Count = 0;  // also the HomingCounter: non-zero while the axis-zero routine runs
    int Timer3Delay = 0;  // the shared manual-move value: delays the X and Y homing
    int RobotCheckState = 0;
    int RobotMessageBusy = 0;  // 9 while the robot message waits for the operator
    AxisMove MoveX{};
    AxisMove MoveY{};  // third axis
    AxisMove MoveZ{};

    int TransferActive = 0;  // 1 while a run sequence owns the machine

    // Machine pictures: mode and frame of Picture2, mode and frame of Picture1.
    std::array<qint16, 4> AnimationState{};
    int PicturePlace = 0;  // the bucket place number drawn on Picture2

    // Special codes of the TALBERT profile marked by the job start (1..25; 0 unused).
    std::array<int, 26> TalbertSpecialFlags{};

    // Machine type: settings field 5, read as a number everywhere.
    int machineType() const { return int(settings.number(5)); }
};

}  // namespace dye
