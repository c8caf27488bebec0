#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <vector>

#include "model/Form3.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace dye {

class ClickLabel;
class KeyState;
class MainScreen;
class PictureBox;
class QueueEditor;
class RecipeEditor;
class RunControl;
struct StationState;

// The main screen (MainForm): the job on the machine with its dispensing
// grid, the queue and the saved recipes, the run indicator and the balance
// status, the machine pictures, the recipe entry, the run and stop buttons
// and the menu. It draws the model after every click and every change the
// station announces (once per scheduler pass) and forwards clicks to the
// handlers; controls whose handlers are not there yet are shown but do
// nothing. Closing the window unloads the station (asked first while a job
// runs); the program ends through the station's quit handler.
class MainFormView : public QMainWindow {
  public:
    MainFormView(const StationState& state, Form3& model, MainScreen& screen, RunControl& run,
                 KeyState& keys, std::function<void()> unload, QWidget* parent = nullptr);
    void render();
    // Wires the recipe editor, the two lists and their menus to the
    // editor's handlers.
    void connectEditor(RecipeEditor& recipes, QueueEditor& queue);
    // What brings the screen models up to date after a handler has run
    // (the station's projection of the job and the machine values).
    void setProjection(std::function<void()> fn) { project_ = std::move(fn); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildJob();
    QWidget* buildGrid();
    QWidget* buildQueue();
    QWidget* buildMachine();
    QWidget* buildEditor();
    QWidget* buildControls();
    void buildMenu();
    // Label13 and Label20 at their places in the controls' grid; their
    // double-clicks go to the main screen.
    void buildMixerLabels(QWidget* parent, QGridLayout* grid);
    void nameEntries();
    QPushButton* button(Button Form3::*member, const char* name, QWidget* parent);
    void forward(const std::function<void()>& handler);

    const StationState& s_;
    Form3& model_;  // the screen model the window writes its input into
    MainScreen& screen_;
    RunControl& run_;
    KeyState& keys_;
    std::function<void()> unload_;
    std::function<void()> project_;
    bool closing_ = false;

    QLabel* status_ = nullptr;
    std::array<QLabel*, 13> label9_{};
    QLabel* label2_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label7_ = nullptr;
    std::array<QLabel*, 4> label18_{};
    std::array<QLabel*, 60> label4_{};
    std::array<QLabel*, 10> label1_{};
    std::array<QLabel*, 10> label3_{};
    std::array<QLabel*, 2> label10_{};
    std::array<QLabel*, 4> label11_{};
    ClickLabel* label8_ = nullptr;
    QLabel* label12_ = nullptr;
    ClickLabel* label13_ = nullptr;
    QLabel* label14_ = nullptr;
    ClickLabel* label20_ = nullptr;
    std::array<QLabel*, 5> diagnostics_{};  // Label15, 16, 17, 19, 22
    QLabel* label21_ = nullptr;
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    QComboBox* combo1_ = nullptr;
    std::array<QLineEdit*, 20> text1_{};
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    PictureBox* picture1_ = nullptr;
    PictureBox* picture2_ = nullptr;
    std::vector<std::pair<QPushButton*, Button Form3::*>> buttons_;
    std::vector<std::pair<QCheckBox*, CheckBox Form3::*>> checks_;
    std::vector<std::pair<QAction*, MenuEntry Form3::*>> menu_;
};

}  // namespace dye
