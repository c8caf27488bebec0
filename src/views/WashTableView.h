#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

namespace dye {

class WashTable;
struct Form10;

// The wash table (Form10): four bands of sixteen slots, each band a row of
// slot numbers, the wash counts under them and the wash waters under those,
// so that slot s shows boxes s-1 and s+63. Typing stays in the boxes; Enter
// saves one box.
class WashTableView : public QWidget {
  public:
    WashTableView(Form10& form, WashTable& table, QWidget* parent = nullptr);
    // Shown from the settings screen: a window not yet shown loads the
    // saved table.
    void open();
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Form10& f_;
    WashTable& table_;
    std::array<QLineEdit*, 128> text1_{};
    std::array<QLabel*, 64> label1_{};
    std::array<QLabel*, 8> captions_{};
    int focusMoves_ = 0;
};

}  // namespace dye
