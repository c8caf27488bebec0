#pragma once

#include <QString>

#include "core/ControlArray.h"

namespace dye {

// The wash table (Form10): one box per WASHsetting.txt record. Wash slot s
// (1..64) has its wash count in box s-1 and its wash water in box s+63. The
// boxes hold what is shown and typed; only Enter saves a box, into the file
// and into the settings the wash reads.
struct Form10 {
    static constexpr int kSlots = 64;
    static constexpr int kBoxes = 2 * kSlots;

    QString Caption = QStringLiteral("洗桶表");  // the window title, in the station's language
    bool Visible = false;
    Captions<kBoxes> Text1;
    Captions<kSlots> Label1;  // slot numbers
    // The captions of the two rows, in the station's language.
    QString CountCaption = QStringLiteral("洗桶次數");
    QString WaterCaption = QStringLiteral("清洗水秒數");
    QString ActiveControl;  // the box that has the focus ("Text1_5")
    int focusMoves = 0;     // counts the focus moves the view has to make
};

}  // namespace dye
