#pragma once

#include "core/ControlArray.h"
#include "model/Controls.h"

namespace dye {

// The auxiliary category picker: button i picks category i + 1.
struct Form15 {
    QString Caption = QStringLiteral("助劑類別");  // the window title, in the station's language
    bool Visible = false;
    ControlArray<Button, 4> Command1;
    // AuxCategory: 0 not chosen, 1..4 the category picked here.
    qint16 AuxCategory = 0;

    Form15() {
        Command1[0].Caption = QStringLiteral("1前處理助劑");
        Command1[1].Caption = QStringLiteral("2染色助劑");
        Command1[2].Caption = QStringLiteral("3後處理助劑");
        Command1[3].Caption = QStringLiteral("4其他助劑");
    }
};

}  // namespace dye
