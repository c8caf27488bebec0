#include "IdentifierEntryView.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QVBoxLayout>

#include "screens/plant/IdentifierEntry.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {

IdentifierEntryView::IdentifierEntryView(const StationState& state, Form6& model,
                                         IdentifierEntry& entry, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(state), model_(model), entry_(entry) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(model_.Caption);
    auto* v = new QVBoxLayout(this);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    setFontSize(text1_, 20, true);
    v->addWidget(text1_);
    connect(text1_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.Text1 = text; });
    connect(text1_, &QLineEdit::returnPressed, this, [this] {
        model_.Text1 = text1_->text();
        entry_.identifierKey(13);
        render();
    });
    resize(360, 80);
    describeControls(this, QStringLiteral("Form6"));
    render();
}

void IdentifierEntryView::render() {
    Form6& f = model_;
    if (windowTitle() != f.Caption) setWindowTitle(f.Caption);
    if (text1_->text() != f.Text1) text1_->setText(f.Text1);
    nameControl(text1_, QStringLiteral("ID"));
    if (f.Visible && !isVisible()) show();
    if (!f.Visible && isVisible()) hide();
    if (f.focusText1 && f.Visible) {
        f.focusText1 = false;
        raise();
        activateWindow();
        text1_->setFocus();
    }
}

void IdentifierEntryView::closeEvent(QCloseEvent* event) {
    event->accept();
    model_.Visible = false;
}

}  // namespace dye
