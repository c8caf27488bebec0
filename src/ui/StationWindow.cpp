#include "StationWindow.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>

#include "station/StationState.h"
#include "ui/Accessible.h"
#include "ui/ManualPanel.h"

namespace dye {
namespace {

QLabel* valueLabel(QWidget* parent, const QString& name, int pointSize) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setPointSize(pointSize);
    f.setBold(true);
    l->setFont(f);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(pointSize * 7);
    return l;
}

}  // namespace

StationWindow::StationWindow(StationState& state, ManualControls* manual, QWidget* parent)
    : QWidget(parent), state_(state) {
    setWindowTitle(state_.form2.Caption);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);

    auto* balances = new QGroupBox(QStringLiteral("<1> / <2>"), this);
    balances->setObjectName(QStringLiteral("BalanceFrame"));
    auto* b = new QGridLayout(balances);
    for (int i = 0; i < 4; ++i)
        label2_[size_t(i)] =
            valueLabel(balances, QStringLiteral("Label2_%1").arg(i), i % 2 == 0 ? 22 : 11);
    b->addWidget(label2_[0], 0, 0);
    b->addWidget(label2_[1], 0, 1);
    b->addWidget(label2_[2], 1, 0);
    b->addWidget(label2_[3], 1, 1);
    grid->addWidget(balances, 0, 0, 1, 2);

    inputs_ = new QGroupBox(this);
    inputs_->setObjectName(QStringLiteral("InputFrame"));
    auto* in = new QGridLayout(inputs_);
    for (int i = 0; i < 12; ++i) {
        label3_[size_t(i)] = valueLabel(inputs_, QStringLiteral("Label3_%1").arg(i), 10);
        in->addWidget(label3_[size_t(i)], i / 6, i % 6);
    }
    grid->addWidget(inputs_, 1, 0, 1, 2);

    const QString names[2] = {QStringLiteral("X位置"), QStringLiteral("Z位置")};
    for (int i = 0; i < 2; ++i) {
        label5_[size_t(i)] = valueLabel(this, QStringLiteral("Label5_%1").arg(i), 12);
        auto* caption = new QLabel(names[i], this);
        caption->setObjectName(QStringLiteral("PositionCaption_%1").arg(i));
        grid->addWidget(caption, 2 + i, 0);
        grid->addWidget(label5_[size_t(i)], 2 + i, 1);
    }
    diagnostics_ = new QLabel(this);
    diagnostics_->setObjectName(QStringLiteral("ScanLine"));
    grid->addWidget(diagnostics_, 4, 0, 1, 2);
    if (manual) {
        manual_ = new ManualPanel(state_, *manual, this);
        grid->addWidget(manual_, 0, 2, 5, 1);
    }
    describeControls(this, QStringLiteral("Form2"));
    render();
}

void StationWindow::render() {
    const Form2& f = state_.form2;
    for (int i = 0; i < 4; ++i) label2_[size_t(i)]->setText(f.Label2[i]);
    for (int i = 0; i < 12; ++i) label3_[size_t(i)]->setText(f.Label3[i]);
    for (int i = 0; i < 2; ++i) label5_[size_t(i)]->setText(f.Label5[i]);
    diagnostics_->setText(state_.form3.Label21);
    // The indicator captions follow the language once it is applied.
    QStringList captions;
    for (int i : {55, 36, 39})
        if (!f.Label1[i].trimmed().isEmpty()) captions << f.Label1[i].trimmed();
    const QString title = captions.size() == 3
                              ? captions.join(QStringLiteral(" / "))
                              : QStringLiteral("按鈕狀態 / 管路到底 / 行車運行狀態");
    if (inputs_->title() != title) inputs_->setTitle(title);
    if (manual_) manual_->render();
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(f.BackColor));
    setPalette(p);
}

}  // namespace dye
