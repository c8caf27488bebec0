#include "ClosingNotice.h"

#include <QLabel>
#include <QVBoxLayout>

#include "model/Form3.h"
#include "views/Accessible.h"
#include "views/ModelWidgets.h"

namespace dye {

ClosingNotice::ClosingNotice(const Form13& model, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), f_(model) {
    setObjectName(QStringLiteral("Form13"));
    setAutoFillBackground(true);
    auto* v = new QVBoxLayout(this);
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    label1_->setMargin(24);
    setFontSize(label1_, 20, true);
    v->addWidget(label1_);
    describeControls(this, QStringLiteral("Form13"));
    render();
}

void ClosingNotice::render() {
    setWindowTitle(f_.Caption);
    label1_->setText(f_.Label1);
}

}  // namespace dye
