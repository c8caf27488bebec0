#pragma once

#include <QString>

#include "core/ControlArray.h"

namespace dye {

// The dye-mix table (Form14): one box per DYE_MIX.txt entry 1..30, in the
// file the run reads (the folder of settings field 37). The boxes hold what
// is shown and typed; Enter in any box saves all of them.
struct Form14 {
    static constexpr int kEntries = 30;

    QString Caption = QStringLiteral("染料混合表");  // the window title, in the station's language
    bool Visible = false;
    Captions<kEntries> Text1;
    Captions<kEntries> Label1;  // entry numbers
    QString Label2;             // the path of the file shown
    // What a box is named by, followed by its entry number.
    QString EntryCaption = QStringLiteral("染料混合");
    QString ActiveControl;  // the box that has the focus ("Text1_5")
    int focusMoves = 0;     // counts the focus moves the view has to make
};

}  // namespace dye
