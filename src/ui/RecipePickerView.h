#pragma once

#include <QWidget>

class QListWidget;

namespace dye {

class RecipePicker;
struct StationState;

// The recipe picker (Form12): the list of matching saved recipes; a click
// queues one. It follows the model's Visible flag; closing it by its frame
// hides it.
class RecipePickerView : public QWidget {
  public:
    RecipePickerView(StationState& state, RecipePicker& picker, QWidget* parent = nullptr);
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    StationState& s_;
    RecipePicker& picker_;
    QListWidget* list1_ = nullptr;
};

}  // namespace dye
