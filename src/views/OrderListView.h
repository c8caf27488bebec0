#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QListWidget;

namespace dye {

class ClickLabel;
class MainScreen;
struct Form11;
struct StationState;

// The order list window (Form11): the job on the machine, the queue and the
// grid lines, large, for the operator at the machine. A double-click on a
// value field, or closing the window by its frame, brings the main screen
// back.
class OrderListView : public QWidget {
  public:
    OrderListView(const StationState& state, Form11& model, MainScreen& screen,
                  QWidget* parent = nullptr);
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const StationState& s_;
    Form11& model_;  // the screen model the window writes its input into
    MainScreen& screen_;
    std::array<ClickLabel*, 8> label1_{};
    std::array<QLabel*, 4> label2_{};
    QLabel* label3_;
    QLabel* label4_;
    QListWidget* list1_;
    QListWidget* list2_;
};

}  // namespace dye
