#pragma once

#include <QWidget>

class QLineEdit;

namespace dye {

class IdentifierEntry;
struct Form6;
struct StationState;

// The identifier entry screen (Form6): one box a scanner types into; Enter
// hands the text to the handlers. It follows the model's Visible flag and
// takes the focus when the status timer asks for it (AUTO IN).
class IdentifierEntryView : public QWidget {
  public:
    IdentifierEntryView(const StationState& state, Form6& model, IdentifierEntry& entry,
                        QWidget* parent = nullptr);
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const StationState& s_;
    Form6& model_;  // the screen model the window writes its input into
    IdentifierEntry& entry_;
    QLineEdit* text1_ = nullptr;
};

}  // namespace dye
