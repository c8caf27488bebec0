#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;

namespace dye {

class ClickLabel;
class ManualControls;
class ManualPanel;
class ServicePanel;
class SettingsEditor;
class SettingsFieldsPanel;
class TeachSlotsPanel;
class ValveTablePanel;
struct Form2;
struct StationState;

// The settings form: its machine readout (balance readings, a click on one
// zeroes that balance; input indicators, axis positions, the scan's
// diagnostic line), and, with the handlers given, the service controls, the
// 38 settings fields, the valve table, the teach slots and the doors to the
// other screens. The form turns red when its load failed (no scan). It is
// rendered from the model and holds no state of its own.
class StationWindow : public QWidget {
  public:
    // With `manual`, the service controls are shown; with `editor`, the
    // settings fields, the valve table and the teach slots.
    explicit StationWindow(const StationState& state, Form2& model,
                           ManualControls* manual = nullptr, QWidget* parent = nullptr,
                           SettingsEditor* editor = nullptr);
    void render();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* buildReadout();
    QWidget* buildDoors(ManualControls* manual);

    const StationState& state_;
    Form2& model_;  // the screen model the window writes its input into
    SettingsEditor* editor_;
    std::array<ClickLabel*, 4> label2_{};
    QGroupBox* inputs_;
    std::array<QLabel*, 12> label3_{};
    std::array<QLabel*, 2> label5_{};
    std::array<QLabel*, 2> positionCaptions_{};  // beside Label5
    QLabel* diagnostics_;
    ManualPanel* manual_ = nullptr;
    ServicePanel* service_ = nullptr;
    SettingsFieldsPanel* fields_ = nullptr;
    ValveTablePanel* valves_ = nullptr;
    TeachSlotsPanel* slots_ = nullptr;
    QPushButton* unlock_ = nullptr;
    QLabel* access_ = nullptr;
    std::array<QPushButton*, 4> doors_{};  // Command13, Command15, Command16, Command22
};

}  // namespace dye
