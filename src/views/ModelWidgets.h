#pragma once

#include <QLabel>
#include <QPixmap>

#include <functional>

#include "model/Color.h"

class QLineEdit;
class QListWidget;
class QWidget;

namespace dye {

struct Label;
struct ListBox;
struct Picture;

// Puts `content` into a frameless scroll area filling `window`, so that a
// window whose controls need more room than a small display gives can be
// made smaller and scrolled; a window is sized to show its content whole
// where the screen has room.
void scrollInside(QWidget* window, QWidget* content);

// A QLabel that reports clicks and double-clicks.
class ClickLabel : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A picture box: shows the bitmap a Picture names and the number drawn on
// it. The file is read when the name changes; a file that cannot be read
// leaves the picture as it was.
class PictureBox : public QLabel {
  public:
    explicit PictureBox(QWidget* parent = nullptr);
    void display(const Picture& picture);

  private:
    void compose();
    QString file_;
    QString number_;
    QPixmap bitmap_;
};

// Paints a widget's background in a model colour; kDefaultBack leaves it on
// its parent's face.
void paintBack(QWidget* widget, Color color);
// Caption, visibility and back colour of a label.
void showLabel(QLabel* widget, const Label& label);
// Lines and selection of a list box; the lines are rebuilt only when they change.
void showList(QListWidget* widget, const ListBox& list);
// An entry box's text as the model holds it, set without counting as an edit
// (only typing is one) and only when it differs, so the cursor stays put.
void showEditText(QLineEdit* box, const QString& text);
// An entry box named `objectName` whose typing goes into the model's `text`
// at once and whose Enter calls `enter`.
QLineEdit* modelEntryBox(QWidget* parent, const QString& objectName, QString& text,
                         std::function<void()> enter);
// A window that follows its model: shown or hidden by the model's Visible
// flag, and the focus moved to the control named `activeControl` each time the
// model's count of focus moves differs from `seenMoves` (then brought level).
void followModel(QWidget* window, bool visible, int focusMoves, int& seenMoves,
                 const QString& activeControl);
// A label in a bold font of the given size.
void setFontSize(QWidget* widget, int pointSize, bool bold = false);

}  // namespace dye
