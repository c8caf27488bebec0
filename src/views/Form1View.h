#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace dye {

class Form1;

// The link test screen's window: shows the Form1 model and forwards clicks.
class Form1View : public QWidget {
  public:
    explicit Form1View(Form1& model, QWidget* parent = nullptr);

    // Copies the model into the widgets (after every event and on a short timer,
    // since answers arrive on the model's own timer).
    void render();

  private:
    QLabel* caption(int i);
    void pullEdits();
    QLineEdit* field(int i) const { return text1_[size_t(i)]; }

    Form1& m_;
    QComboBox* combo1_;
    std::array<QLineEdit*, 5> text1_{};
    std::array<QLineEdit*, 10> text2_{};
    QPlainTextEdit* log_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QPushButton* command4_;
};

}  // namespace dye
