#pragma once

#include "model/Controls.h"

namespace dye {

// The recipe picker: the saved recipes that match an entered identifier, one
// line each (record number, "---", order number); a click queues one.
struct Form12 {
    bool Visible = false;
    ListBox List1;
};

}  // namespace dye
