#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dye {

class ManualControls;
struct Form2;
struct StationState;

// The service controls of the settings form: a valve opened for a chosen
// time, a manual metering on each station with its panel (zero, target,
// actual, step, final), the wash button and the wash clock. Combo choices
// and entries go into the model before each handler runs.
class ManualPanel : public QWidget {
  public:
    ManualPanel(const StationState& state, Form2& model, ManualControls& controls,
                QWidget* parent = nullptr);
    void render();

  private:
    void pull();
    QComboBox* combo(int i) const { return combos_[size_t(i)]; }

    const StationState& s_;
    Form2& model_;  // the screen model the window writes its input into
    ManualControls& controls_;
    std::array<QComboBox*, 10> combos_{};
    QGroupBox* valve_;
    QLineEdit* text5_;
    QLineEdit* text6_;
    std::array<QLabel*, 12> label7_{};
    std::array<QLabel*, 36> label1_{};  // the panel captions, Label1(26..35)
    QLabel* label8_;
    QPushButton* wash_;
};

}  // namespace dye
