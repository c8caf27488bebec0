#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dye {

class PositionScreen;
class SlotMap;
struct Form9;
struct StationState;

// The position teaching screen (Form9): the 64 teach slots in two columns of
// 32 rows (number, X, Y, Z, bucket name), and beside them the positions, the
// move entries, homing, compensation, the indicators, MOVE, the buttons and
// the slot map. It shows the model and forwards edits, clicks and Enter to
// the handlers; closing it by its frame hides it.
class PositionFormView : public QWidget {
  public:
    PositionFormView(const StationState& state, Form9& model, PositionScreen& screen,
                     QWidget* parent = nullptr);
    // Brought forward from the main screen.
    void open();
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* buildSlots();
    QWidget* buildControls();
    QLineEdit* entry(const QString& name, int width);
    QPushButton* button(const QString& name, std::function<void()> handler);
    void forward(const std::function<void()>& handler);

    const StationState& s_;
    Form9& model_;  // the screen model the window writes its input into
    PositionScreen& screen_;
    std::array<QLineEdit*, 256> text2_{};
    std::array<QPushButton*, 64> label4_{};
    std::array<QLabel*, 40> label1_{};
    std::array<QLineEdit*, 3> text3_{};
    std::array<QLabel*, 3> label5_{};
    std::array<QLabel*, 10> label3_{};
    QLineEdit* text1_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command12_ = nullptr;
    QPushButton* command4_ = nullptr;
    SlotMap* picture1_ = nullptr;
};

}  // namespace dye
