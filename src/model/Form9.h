#pragma once

#include <bitset>

#include "core/ControlArray.h"
#include "model/Color.h"
#include "model/Controls.h"

namespace dye {

// The position teaching screen (PositionForm): the 64 teach slots, the
// compensation distances, the axis positions, moves and indicators.
struct Form9 {
    static constexpr int kSlots = 64;
    static constexpr int kFields = 4 * kSlots;

    QString Caption = QStringLiteral("位置設定");  // the window title, in the station's language
    bool Visible = false;

    // The teach slots as shown: slot k (1..64) is X = field k-1, Y = field
    // k+63, Z = field k+127, bucket name = field k+191. The saved table lives
    // in StationState::settings, which the run reads; a field the operator
    // changed (or the slot spreading computed) stays here, marked in
    // `Text2Edited`, until "座標存檔" saves it. An unmarked field shows the
    // saved value.
    Captions<kFields> Text2;
    std::bitset<kFields> Text2Edited;
    // X (Text1) and Y (Text4) compensation distances as shown; Enter saves.
    QString Text1;
    QString Text4;
    bool Text1Edited = false;
    bool Text4Edited = false;

    Captions<3> Text3;        // X, Y, Z move entries
    Captions<3> Label5;       // X, Y, Z position
    Captions<10> Label3;      // D301..D309, D297
    Captions<kSlots> Label4;  // slot numbers
    int Label4Selected = 0;   // the slot (1..64) painted as selected; 0 none
    Captions<40> Label1;      // captions
    bool Check1 = false;      // MOVE

    Button Command5{QStringLiteral("X=0")};
    Button Command1{QStringLiteral("Y=0")};
    Button Command2{QStringLiteral("Z=0")};
    Button Command3{QStringLiteral("座標平均")};   // spread positions
    Button Command4{QStringLiteral("排水閥")};     // drain valve
    Button Command12{QStringLiteral("座標存檔")};  // save positions

    Form9() {
        Label1[1] = Label1[15] = QStringLiteral("暫存桶名稱");
        Label1[6] = QStringLiteral("X位置");
        Label1[7] = QStringLiteral("Z位置");
        Label1[9] = QStringLiteral("Y位置");
        Label1[8] = QStringLiteral("X移動距離");
        Label1[11] = QStringLiteral("Y移動距離");
        Label1[12] = QStringLiteral("Z移動距離");
        Label1[13] = QStringLiteral("補距離");
        Label1[37] = QStringLiteral("行車運行狀態");
        Label1[38] = QStringLiteral("管路到底");
        for (int k = 0; k < kSlots; ++k) Label4[k] = QString::number(k + 1);
    }
};

}  // namespace dye
