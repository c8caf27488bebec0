#include "RecipePickerView.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "screens/entry/RecipePicker.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {

RecipePickerView::RecipePickerView(const StationState& state, Form12& model, RecipePicker& picker,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), s_(state), model_(model), picker_(picker) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(model_.Caption);
    auto* v = new QVBoxLayout(this);
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    setFontSize(list1_, 16, true);
    v->addWidget(list1_);
    connect(list1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        model_.List1.ListIndex = list1_->row(item);
        picker_.queueClicked();
        render();
    });
    resize(420, 360);
    describeControls(this, QStringLiteral("Form12"));
    render();
}

void RecipePickerView::render() {
    const Form12& f = model_;
    if (windowTitle() != f.Caption) setWindowTitle(f.Caption);
    showList(list1_, f.List1);
    // Each line is a record number and an order number: named by the main
    // screen's order header.
    const QString order = s_.form3.Label9[3].Caption.trimmed();
    nameControl(list1_, order.isEmpty() ? QStringLiteral("List1") : order);
    if (f.Visible && !isVisible()) {
        show();
        raise();
        activateWindow();
    } else if (!f.Visible && isVisible()) {
        hide();
    }
}

void RecipePickerView::closeEvent(QCloseEvent* event) {
    event->accept();
    model_.Visible = false;
}

}  // namespace dye
