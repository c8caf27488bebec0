#pragma once

#include "model/Controls.h"

namespace dye {

// The recipe picker: the saved recipes that match an entered identifier, one
// line each (record number, "---", order number); a click queues one.
struct Form12 {
    QString Caption = QStringLiteral("選擇配方");  // the window title, in the station's language
    bool Visible = false;
    ListBox List1;
};

}  // namespace dye
