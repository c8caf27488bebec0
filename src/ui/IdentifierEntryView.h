#pragma once

#include <QWidget>

class QLineEdit;

namespace dye {

class IdentifierEntry;
struct StationState;

// The identifier entry screen (Form6): one box a scanner types into; Enter
// hands the text to the handlers. It follows the model's Visible flag and
// takes the focus when the status timer asks for it (AUTO IN).
class IdentifierEntryView : public QWidget {
  public:
    IdentifierEntryView(StationState& state, IdentifierEntry& entry, QWidget* parent = nullptr);
    void render();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    StationState& s_;
    IdentifierEntry& entry_;
    QLineEdit* text1_ = nullptr;
};

}  // namespace dye
