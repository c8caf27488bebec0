#pragma once

#include "core/ControlArray.h"
#include "model/Controls.h"

namespace dye {

// The single dispensing entry: queues one product with one weight.
struct Form7 {
    QString Caption = QStringLiteral("Form7");  // the window title, in the station's language
    bool Visible = false;
    ComboBox Combo1;  // product code; its list holds the valve codes
    ComboBox Combo2;  // recipe weight; its list holds the preset weights
    ComboBox Combo3;  // bucket place; its list holds the place names
    ListBox List1;    // one line per valve product: code, five blanks, name
    // Digit keys "0".."9" for the weight, and (10) "<-" that drops its last character.
    ControlArray<Button, 11> Command2;
    Button Command1{QStringLiteral("排入計量")};  // queue the entry
    // Captions beside the weight box (0) and the code box (1).
    ControlArray<Label, 2> Label1;

    // The control that is to have the focus ("Combo1", "Combo2", "Command1"),
    // and a count of the moves so that a view applies each move once.
    QString ActiveControl;
    int focusMoves = 0;

    Form7() {
        Label1[0].Caption = QStringLiteral("配方重");
        Label1[1].Caption = QStringLiteral("代碼");
        for (int i = 0; i < 10; ++i) Command2[i].Caption = QString::number(i);
        Command2[10].Caption = QStringLiteral("<-");
    }
    void setFocus(const QString& control) {
        ActiveControl = control;
        ++focusMoves;
    }
};

}  // namespace dye
