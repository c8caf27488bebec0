#pragma once

#include <QLabel>
#include <QString>

#include "views/ModelWidgets.h"

// Small builders of the main screen's labels, shared by its panels.
namespace dye::mainform {

inline QLabel* field(QWidget* parent, const QString& name, int pointSize, bool bold,
                     Qt::Alignment align = Qt::AlignCenter) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    setFontSize(l, pointSize, bold);
    l->setAlignment(align);
    return l;
}

inline QLabel* box(QWidget* parent, const QString& name, int pointSize, bool bold,
                   Qt::Alignment align = Qt::AlignCenter) {
    QLabel* l = field(parent, name, pointSize, bold, align);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMargin(2);
    return l;
}

inline QString indexed(const char* name, int i) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i);
}

}  // namespace dye::mainform
