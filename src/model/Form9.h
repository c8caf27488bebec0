#pragma once

#include "core/ControlArray.h"
#include "model/Color.h"
#include "model/Controls.h"

namespace dye {

// The position teaching screen: the 64 teach slots and the axis indicators.
struct Form9 {
    bool Visible = false;
    // The teach slots (Text2) and compensation distances (Text1, Text4) live
    // in StationState::settings, shared with the settings form.
    Captions<3> Text3;    // X, Y, Z move entries
    Captions<3> Label5;   // X, Y, Z position
    Captions<10> Label3;  // D301..D309, D297
    Captions<64> Label4;  // slot numbers
    Captions<40> Label1;  // captions
    bool Check1 = false;  // MOVE

    Button Command3{QStringLiteral("座標平均")};   // spread positions
    Button Command4{QStringLiteral("排水閥")};     // drain valve
    Button Command12{QStringLiteral("座標存檔")};  // save positions
};

}  // namespace dye
