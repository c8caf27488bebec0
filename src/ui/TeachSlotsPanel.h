#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;

namespace dye {

class ClickLabel;
class EntryBox;
class SettingsEditor;
struct StationState;

// The settings form's 25 teach slots: slot numbers (Label4, a click moves the
// gantry there when "MOVE" is checked), X, Z and bucket name (Text2), the
// "MOVE" and "D985" boxes, and "座標平均" and "座標存檔".
class TeachSlotsPanel : public QWidget {
  public:
    TeachSlotsPanel(StationState& state, SettingsEditor& editor, QWidget* parent = nullptr);
    void render();

  private:
    StationState& s_;
    SettingsEditor& editor_;
    QLabel* nameHeader_;
    std::array<ClickLabel*, 25> label4_{};
    std::array<EntryBox*, 75> text2_{};
    QCheckBox* check1_;
    QCheckBox* check2_;
};

}  // namespace dye
