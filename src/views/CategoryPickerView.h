#pragma once

#include <QWidget>

#include <array>

class QPushButton;

namespace dye {

struct Form15;

// The auxiliary category picker (Form15): four buttons; a click picks the
// category and hides the window.
class CategoryPickerView : public QWidget {
  public:
    explicit CategoryPickerView(Form15& form, QWidget* parent = nullptr);
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Form15& f_;
    std::array<QPushButton*, 4> command1_{};
};

}  // namespace dye
