#pragma once

#include <QStringList>

#include <array>
#include <bitset>

#include "core/ControlArray.h"
#include "model/Color.h"
#include "model/Controls.h"

namespace dye {

// The settings form (SettingsForm): created hidden at start-up, it holds
// every machine setting in its fields, which the rest of the station reads
// at the moment of use, and owns the machine timers.
struct Form2 {
    QString Caption = QStringLiteral("掃描SETTING");
    bool Visible = false;
    Color BackColor = kFormGrey;
    // The settings fields, the valve table and the teach slots change only
    // after the access code was given; the service controls work without it.
    bool Editable = false;

    // The machine settings (Text1) and the valve table (Text4) this form
    // shows live in StationState::settings, each field saved with Enter.
    //
    // The teach slots 1..25 as shown: X = field k-1, Z = field k+24, bucket
    // name = field k+49. The saved table lives in StationState::settings,
    // shared with the position screen, and is what the run and the moves
    // read; a field the operator changed (or the slot spreading computed)
    // stays here, marked in `Text2Edited`, until "座標存檔" saves it. An
    // unmarked field shows the saved value.
    static constexpr int kTeachSlots = 25;
    static constexpr int kTeachFields = 3 * kTeachSlots;
    Captions<kTeachFields> Text2;
    std::bitset<kTeachFields> Text2Edited;
    Captions<2> Text3;  // X and Z move entries
    QString Text5;      // manual target, station 1
    QString Text6;      // manual target, station 2
    // Combo boxes: the text shown and the list (Combo1 motor/valve 1..24,
    // Combo3 output 1..4, Combo5 1 wash / 2 conveyor valve, Combo2/4/6/7 times
    // in hundredths of a second, Combo8/Combo9 the stations' valves).
    Captions<10> Combo;
    std::array<QStringList, 10> ComboItems;

    // Field captions. Those the screen's panels show are set to their design
    // texts here; the language replaces them.
    Captions<56> Label1;
    Captions<4> Label2;   // balance 1 reading, D274, balance 2 reading, D275
    Captions<12> Label3;  // input indicators
    Captions<25> Label4;  // teach slot numbers
    // The teach slot number (1..25) painted as selected; 0: all in their normal colour.
    int Label4Selected = 0;
    Captions<2> Label5;   // X and Z position
    Captions<24> Label6;  // valve row numbers
    Captions<12> Label7;  // station panels
    QString Label8;       // wash clock
    bool Check1 = false;  // MOVE
    bool Check2 = false;  // D985: water through D851

    // Buttons whose captions follow the language.
    Button Command13{QStringLiteral("配方輸入")};  // back to the main screen
    Button Command14{QStringLiteral("清洗桶")};    // wash request
    Button Command15{QStringLiteral("語言檔")};    // language editor
    Button Command3{QStringLiteral("座標平均")};   // spread the teach slots
    Button Command12{QStringLiteral("座標存檔")};  // save the teach slots
    Captions<2> PositionCaption;                   // beside the X and Z position
    Captions<2> MoveCaption;                       // the X and Z move entries

    Form2() {
        Label1[2] = QStringLiteral("馬達");
        Label1[3] = Label1[10] = Label1[12] = QStringLiteral("秒數");
        Label1[11] = QStringLiteral("閥門");
        Label1[13] = QStringLiteral("1清洗2輸送閥");
        Label1[14] = QStringLiteral("輸送馬達秒數");
        // The five fields of each station panel: station 1 from Label1(26),
        // station 2 down from Label1(35).
        const QString panel[5] = {QStringLiteral("歸零數據"), QStringLiteral("目標"),
                                  QStringLiteral("實際"), QStringLiteral("運行步驟"),
                                  QStringLiteral("水量")};
        for (int i = 0; i < 5; ++i) {
            Label1[26 + i] = QStringLiteral("<1> ") + panel[i];
            Label1[35 - i] = QStringLiteral("<2> ") + panel[i];
        }
        Label1[36] = QStringLiteral("管路到底");
        Label1[39] = QStringLiteral("行車運行狀態");
        Label1[54] = QStringLiteral("暫存桶名稱");
        Label1[55] = QStringLiteral("按鈕狀態");
        PositionCaption[0] = QStringLiteral("X位置");
        PositionCaption[1] = QStringLiteral("Z位置");
        MoveCaption[0] = QStringLiteral("X移動距離");
        MoveCaption[1] = QStringLiteral("Z移動距離");
    }
};

}  // namespace dye
