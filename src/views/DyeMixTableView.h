#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

namespace dye {

class DyeMixTable;
struct Form14;

// The dye-mix table (Form14): the path of the file it edits, then 30
// numbered boxes in three columns. Typing stays in the boxes; Enter in any
// box saves them all.
class DyeMixTableView : public QWidget {
  public:
    DyeMixTableView(Form14& form, DyeMixTable& table, QWidget* parent = nullptr);
    // Shown from the settings screen: each opening reads the file afresh.
    void open();
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Form14& f_;
    DyeMixTable& table_;
    QLabel* label2_;
    std::array<QLineEdit*, 30> text1_{};
    std::array<QLabel*, 30> label1_{};
    int focusMoves_ = 0;
};

}  // namespace dye
