#include "EntryBox.h"

namespace dye {

EntryBox::EntryBox(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::returnPressed, this, [this] {
        if (!commit || !commit(text())) return;
        shown_ = text();  // saved: the box follows the model again
        if (next) next->setFocus();
    });
}

void EntryBox::display(const QString& saved) {
    // A text other than the one last shown is the operator's, until Enter.
    if (text() != shown_ || shown_ == saved) return;
    shown_ = saved;
    setText(saved);
    setCursorPosition(0);
}

void EntryBox::setProblem(const QString& why) {
    if (why == problem_) return;
    problem_ = why;
    setToolTip(why);
    setStyleSheet(why.isEmpty() ? QString() : QStringLiteral("background-color: #ffb0b0;"));
}

void EntryBox::setEditable(bool editable) {
    if (isReadOnly() != !editable) setReadOnly(!editable);
}

}  // namespace dye
