#pragma once

#include "core/ControlArray.h"
#include "model/Controls.h"

namespace dye {

// The single dispensing entry: queues one product with one weight.
struct Form7 {
    bool Visible = false;
    Button Command1{QStringLiteral("排入計量")};  // queue the entry
    // Captions beside the weight box (0) and the code box (1).
    ControlArray<Label, 2> Label1;

    Form7() {
        Label1[0].Caption = QStringLiteral("配方重");
        Label1[1].Caption = QStringLiteral("代碼");
    }
};

}  // namespace dye
