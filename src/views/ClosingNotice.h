#pragma once

#include <QWidget>

class QLabel;

namespace dye {

struct Form13;

// The closing notice (Form13): a small frameless window above the others
// while the program ends.
class ClosingNotice : public QWidget {
  public:
    explicit ClosingNotice(const Form13& model, QWidget* parent = nullptr);
    void render();

  private:
    const Form13& f_;
    QLabel* label1_;
};

}  // namespace dye
