#pragma once

#include <array>

#include <QString>

namespace dye {

// The language editor: one box per record of language.txt but the last.
struct Form5 {
    static constexpr int kBoxes = 359;        // records 1..359, table entries 0..358
    static constexpr int kPerLanguage = 120;  // numbers beside the first 120 boxes

    // The window title and the title of the editor's messages: the
    // station's languageEditorCaption, taken when the editor opens.
    QString Caption = QStringLiteral("語言檔編輯");
    bool Visible = false;
    std::array<QString, kBoxes> Text1;
    std::array<QString, kPerLanguage> Label1;
};

}  // namespace dye
