#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace dye {

class SingleEntry;
struct Form7;
struct StationState;

// The single dispensing entry (Form7): code, weight with its keypad and
// presets, bucket place, the valve list and the queue button. It shows the
// model and forwards edits, clicks and Enter to the handlers; it follows
// the model's Visible flag, and closing it by its frame hides it.
class SingleEntryView : public QWidget {
  public:
    SingleEntryView(const StationState& state, Form7& model, SingleEntry& entry,
                    QWidget* parent = nullptr);
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QComboBox* combo(const QString& name, QString* text);
    void forward(const std::function<void()>& handler);

    const StationState& s_;
    Form7& model_;  // the screen model the window writes its input into
    SingleEntry& entry_;
    std::array<QLabel*, 2> label1_{};
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QComboBox* combo3_ = nullptr;
    QListWidget* list1_ = nullptr;
    std::array<QPushButton*, 11> command2_{};
    QPushButton* command1_ = nullptr;
    int focusMoves_ = 0;  // the model's focus moves applied so far
};

}  // namespace dye
