#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;

namespace dye {

class ManualControls;
class ManualPanel;
struct StationState;

// The settings form's machine readout: balance readings and status words,
// input indicators, axis positions and the scan's diagnostic line. The form
// turns red when its load failed (no scan). Rendered from the model on a
// short timer; it holds no state of its own.
class StationWindow : public QWidget {
  public:
    // With `manual`, the service controls are shown too.
    explicit StationWindow(StationState& state, ManualControls* manual = nullptr,
                           QWidget* parent = nullptr);
    void render();

  private:
    StationState& state_;
    std::array<QLabel*, 4> label2_{};
    QGroupBox* inputs_;
    std::array<QLabel*, 12> label3_{};
    std::array<QLabel*, 2> label5_{};
    QLabel* diagnostics_;
    ManualPanel* manual_ = nullptr;
};

}  // namespace dye
