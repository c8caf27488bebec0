#pragma once

#include "core/ControlArray.h"
#include "model/Controls.h"

namespace dye {

// The order list window: a second view of the run. The run timers write
// into it; it is created hidden the first time they do and kept for the
// program's life.
struct Form11 {
    QString Caption = QStringLiteral("Form11");  // the window title, in the station's language
    bool Visible = false;
    bool Loaded = false;  // Form_Load has run (captions converted once)
    // Value fields and status values written by the run.
    Captions<8> Label1;
    // Fixed headers: order number, bucket number, water amount, actual water.
    Captions<4> Label2{};
    QString Label3;  // copy of the main screen's scan line
    QString Label4;  // copy of the main screen's run diagnostics
    ListBox List1;   // the queue
    ListBox List2;   // the grid of the job on the machine

    Form11() {
        Label2[0] = QStringLiteral("單號");
        Label2[1] = QStringLiteral("桶號");
        Label2[2] = QStringLiteral("加水量");
        Label2[3] = QStringLiteral("實際水");
    }
};

}  // namespace dye
