#pragma once

#include <QWidget>

#include <array>

#include "model/Form5.h"

class QLabel;

namespace dye {

class EntryBox;
class LanguageEditor;

// The language editor's window (Form5): the first 120 texts of each language
// side by side, numbered 0..119. Enter stores a box and moves to the next.
// Its title is the editor's, in the station's language.
class LanguageEditorView : public QWidget {
  public:
    LanguageEditorView(LanguageEditor& editor, QWidget* parent = nullptr);
    // Reads the file into the boxes and shows them (opening the screen).
    void open();
    void render();

  private:
    LanguageEditor& editor_;
    std::array<QLabel*, Form5::kPerLanguage> label1_{};
    std::array<EntryBox*, Form5::kBoxes> text1_{};
};

}  // namespace dye
