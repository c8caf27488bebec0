#pragma once

#include <array>

#include <QString>

namespace dye {

// The language editor: one box per record of language.txt but the last.
struct Form5 {
    static constexpr int kBoxes = 359;        // records 1..359, table entries 0..358
    static constexpr int kPerLanguage = 120;  // numbers beside the first 120 boxes

    QString Caption = QStringLiteral("Form5");
    bool Visible = false;
    std::array<QString, kBoxes> Text1;
    std::array<QString, kPerLanguage> Label1;
};

}  // namespace dye
