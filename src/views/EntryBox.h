#pragma once

#include <QLineEdit>

#include <functional>

namespace dye {

// An entry box whose text belongs to the operator until Enter: while it is
// being typed, what the model holds does not overwrite it, and nothing reads
// it. Enter hands the text to `commit`; when that accepts it, the box shows
// the model again and the focus goes to `next`. A refused text stays in the
// box, so nothing typed is lost.
class EntryBox : public QLineEdit {
  public:
    explicit EntryBox(QWidget* parent = nullptr);

    std::function<bool(const QString&)> commit;
    EntryBox* next = nullptr;

    // Shows the saved text unless the operator is editing the box.
    void display(const QString& saved);
    // Whether the operator may type (the settings are unlocked).
    void setEditable(bool editable);
    // Marks the saved value as out of its range: a red ground, and the reason
    // as the box's tip; an empty reason clears the mark.
    void setProblem(const QString& why);

  private:
    QString shown_;    // the saved text the box last showed
    QString problem_;  // the reason the box is marked for
};

}  // namespace dye
