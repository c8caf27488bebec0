#pragma once

#include <QString>

class QWidget;

namespace dye {

// Every control carries an accessible name, what a person reads (its caption,
// or for an entry box the caption of its column and its row, in the current
// language), and an accessible description that names it on its form, stable
// across languages: "Form3.Command9", "Form3.Text1(0)", "Form2.Label7(4)".
// Screen readers read the name; test robots find a control by its description.

// "Form3.Text1(0)"; an index below 0 names a single control ("Form3.Text2").
QString controlId(const QString& form, const QString& control, int index = -1);

// Sets the description, and the name when one is given. Controls that show
// their own caption (labels, buttons, check boxes) are named by it already.
void describeControl(QWidget* widget, const QString& id, const QString& name = QString());

// Describes a window as `form` and each of its widgets that has a designer
// name (its object name, "Text1_0" for Text1(0)) as "form.Text1(0)". Qt's own
// parts (object names "qt_...") and unnamed containers are left alone.
void describeControls(QWidget* window, const QString& form);

// The name of a control whose caption is elsewhere (entry boxes, lists,
// menus); set only when it changed, so that a language switch reaches screen
// readers once and a render announces nothing.
void nameControl(QWidget* widget, const QString& name);

}  // namespace dye
