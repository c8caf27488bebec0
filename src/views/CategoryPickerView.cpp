#include "CategoryPickerView.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/Form15.h"
#include "screens/tables/CategoryPicker.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {

CategoryPickerView::CategoryPickerView(Form15& form, QWidget* parent)
    : QWidget(parent, Qt::Window), f_(form) {
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(f_.Caption);
    auto* v = new QVBoxLayout(this);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setMinimumSize(240, 48);
        setFontSize(b, 14, true);
        connect(b, &QPushButton::clicked, this, [this, i] {
            pickCategory(f_, i);
            render();
        });
        command1_[size_t(i)] = b;
        v->addWidget(b);
    }
    describeControls(this, QStringLiteral("Form15"));
    render();
}

void CategoryPickerView::render() {
    if (windowTitle() != f_.Caption) setWindowTitle(f_.Caption);
    for (int i = 0; i < 4; ++i) command1_[size_t(i)]->setText(f_.Command1[i].Caption);
    if (f_.Visible != isVisible()) setVisible(f_.Visible);
}

void CategoryPickerView::closeEvent(QCloseEvent* event) {
    event->accept();
    f_.Visible = false;
}

}  // namespace dye
