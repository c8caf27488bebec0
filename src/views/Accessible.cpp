#include "Accessible.h"

#include <QRegularExpression>
#include <QWidget>

namespace dye {

QString controlId(const QString& form, const QString& control, int index) {
    if (index < 0) return form + QLatin1Char('.') + control;
    return QStringLiteral("%1.%2(%3)").arg(form, control).arg(index);
}

void describeControl(QWidget* widget, const QString& id, const QString& name) {
    if (!widget) return;
    if (widget->accessibleDescription() != id) widget->setAccessibleDescription(id);
    if (!name.isEmpty()) nameControl(widget, name);
}

void describeControls(QWidget* window, const QString& form) {
    static const QRegularExpression arrayElement(QStringLiteral("^(.*[^_])_(\\d+)$"));
    describeControl(window, form);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        const QRegularExpressionMatch m = arrayElement.match(name);
        describeControl(w, m.hasMatch() ? controlId(form, m.captured(1), m.captured(2).toInt())
                                        : controlId(form, name));
    }
}

void nameControl(QWidget* widget, const QString& name) {
    if (widget && widget->accessibleName() != name) widget->setAccessibleName(name);
}

}  // namespace dye
