#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;

namespace dye {

class ManualControls;
struct Form2;
struct StationState;

// The settings form's remaining service controls: outputs D801..D804, the
// wash water and conveyor valves, the conveyor motor, air and water in, and
// the X and Z axes (homing and move entries). Combo choices and entries go
// into the model before each handler runs.
class ServicePanel : public QWidget {
  public:
    ServicePanel(const StationState& state, Form2& model, ManualControls& controls,
                 QWidget* parent = nullptr);
    void render();

  private:
    void pull();

    const StationState& s_;
    Form2& model_;                        // the screen model the window writes its input into
    std::array<QComboBox*, 8> combos_{};  // Combo3..Combo7
    std::array<QLabel*, 5> captions_{};   // beside Combo3, Combo4, Combo5, Combo6, Combo7
    std::array<QLineEdit*, 2> text3_{};
};

}  // namespace dye
