#pragma once

#include <QWidget>

class QListWidget;

namespace dye {

class RecipePicker;
struct Form12;
struct StationState;

// The recipe picker (Form12): the list of matching saved recipes; a click
// queues one. It follows the model's Visible flag; closing it by its frame
// hides it.
class RecipePickerView : public QWidget {
  public:
    RecipePickerView(const StationState& state, Form12& model, RecipePicker& picker,
                     QWidget* parent = nullptr);
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const StationState& s_;
    Form12& model_;  // the screen model the window writes its input into
    RecipePicker& picker_;
    QListWidget* list1_ = nullptr;
};

}  // namespace dye
