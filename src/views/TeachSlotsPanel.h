#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace dye {

class ClickLabel;
class EntryBox;
class SettingsEditor;
struct Form2;
struct StationState;

// The settings form's 25 teach slots: slot numbers (Label4, a click moves the
// gantry there when "MOVE" is checked), X, Z and bucket name (Text2), the
// "MOVE" and "D985" boxes, and the buttons that spread (Command3) and save
// (Command12) the slots.
class TeachSlotsPanel : public QWidget {
  public:
    TeachSlotsPanel(const StationState& state, Form2& model, SettingsEditor& editor,
                    QWidget* parent = nullptr);
    void render();

  private:
    const StationState& s_;
    Form2& model_;  // the screen model the window writes its input into
    SettingsEditor& editor_;
    QLabel* nameHeader_;
    std::array<ClickLabel*, 25> label4_{};
    std::array<EntryBox*, 75> text2_{};
    QCheckBox* check1_;
    QCheckBox* check2_;
    QPushButton* spread_;
    QPushButton* save_;
};

}  // namespace dye
