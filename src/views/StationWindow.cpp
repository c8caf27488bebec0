#include "StationWindow.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "screens/position/ManualControls.h"
#include "screens/settings/SettingsEditor.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/ManualPanel.h"
#include "views/ModelWidgets.h"
#include "views/ServicePanel.h"
#include "views/SettingsFieldsPanel.h"
#include "views/TeachSlotsPanel.h"
#include "views/ValveTablePanel.h"

namespace dye {
namespace {

template <typename L = QLabel>
L* valueLabel(QWidget* parent, const QString& name, int pointSize) {
    auto* l = new L(parent);
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

StationWindow::StationWindow(const StationState& state, Form2& model, ManualControls* manual,
                             QWidget* parent, SettingsEditor* editor)
    : QWidget(parent), state_(state), model_(model), editor_(editor) {
    setWindowTitle(model_.Caption);
    setAutoFillBackground(true);
    auto* content = new QWidget(this);
    auto* grid = new QGridLayout(content);
    grid->setVerticalSpacing(4);
    if (editor_) {
        grid->addWidget(buildDoors(manual), 0, 0, 1, 3);
        fields_ = new SettingsFieldsPanel(state_, *editor_, manual, this);
        grid->addWidget(fields_, 1, 0, 1, 2);
        valves_ = new ValveTablePanel(state_, *editor_, this);
        grid->addWidget(valves_, 2, 0, Qt::AlignTop);
        slots_ = new TeachSlotsPanel(state_, model_, *editor_, this);
        grid->addWidget(slots_, 2, 1, Qt::AlignTop);
    }
    grid->addWidget(buildReadout(), 1, 2, Qt::AlignTop);
    if (manual) {
        auto* right = new QVBoxLayout;
        manual_ = new ManualPanel(state_, model_, *manual, this);
        right->addWidget(manual_);
        service_ = new ServicePanel(state_, model_, *manual, this);
        right->addWidget(service_);
        right->addStretch();
        grid->addLayout(right, 2, 2);
    }
    scrollInside(this, content);
    describeControls(this, QStringLiteral("Form2"));
    render();
}

QWidget* StationWindow::buildReadout() {
    auto* w = new QWidget(this);
    auto* grid = new QGridLayout(w);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* balances = new QGroupBox(QStringLiteral("<1> / <2>"), w);
    balances->setObjectName(QStringLiteral("BalanceFrame"));
    auto* b = new QGridLayout(balances);
    for (int i = 0; i < 4; ++i)
        label2_[size_t(i)] = valueLabel<ClickLabel>(balances, QStringLiteral("Label2_%1").arg(i),
                                                    i % 2 == 0 ? 22 : 11);
    // A click on a reading zeroes its balance.
    for (int i : {0, 2})
        label2_[size_t(i)]->onClick = [this, i] {
            if (editor_) editor_->zeroBalance(i);
            render();
        };
    b->addWidget(label2_[0], 0, 0);
    b->addWidget(label2_[1], 0, 1);
    b->addWidget(label2_[2], 1, 0);
    b->addWidget(label2_[3], 1, 1);
    grid->addWidget(balances, 0, 0, 1, 2);

    inputs_ = new QGroupBox(w);
    inputs_->setObjectName(QStringLiteral("InputFrame"));
    auto* in = new QGridLayout(inputs_);
    for (int i = 0; i < 12; ++i) {
        label3_[size_t(i)] = valueLabel(inputs_, QStringLiteral("Label3_%1").arg(i), 10);
        in->addWidget(label3_[size_t(i)], i / 6, i % 6);
    }
    grid->addWidget(inputs_, 1, 0, 1, 2);

    for (int i = 0; i < 2; ++i) {
        label5_[size_t(i)] = valueLabel(w, QStringLiteral("Label5_%1").arg(i), 12);
        auto* caption = new QLabel(w);
        caption->setObjectName(QStringLiteral("PositionCaption_%1").arg(i));
        positionCaptions_[size_t(i)] = caption;
        grid->addWidget(caption, 2 + i, 0);
        grid->addWidget(label5_[size_t(i)], 2 + i, 1);
    }
    diagnostics_ = new QLabel(w);
    diagnostics_->setObjectName(QStringLiteral("ScanLine"));
    grid->addWidget(diagnostics_, 4, 0, 1, 2);
    return w;
}

QWidget* StationWindow::buildDoors(ManualControls* manual) {
    auto* w = new QWidget(this);
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    // The access code makes the fields editable; without it they are shown only.
    unlock_ = new QPushButton(QStringLiteral("enter password"), w);
    unlock_->setObjectName(QStringLiteral("Unlock"));
    connect(unlock_, &QPushButton::clicked, this, [this] {
        editor_->unlock();
        render();
    });
    row->addWidget(unlock_);
    access_ = new QLabel(w);
    access_->setObjectName(QStringLiteral("Access"));
    row->addWidget(access_);
    row->addStretch();
    if (!manual) return w;
    // The first two doors are captioned by the model (render); the other two
    // keep their design captions.
    struct Door {
        const char* name;
        const char* caption;
        void (ManualControls::*click)();
    };
    const Door doors[4] = {{"Command13", "", &ManualControls::showMainScreen},
                           {"Command15", "", &ManualControls::showLanguageEditor},
                           {"Command16", "LINK TYPE", &ManualControls::showProfilePicker},
                           {"Command22", "DYE_MIX", &ManualControls::showDyeMixTable}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(doors[i].caption), w);
        b->setObjectName(QString::fromLatin1(doors[i].name));
        connect(b, &QPushButton::clicked, this, [this, manual, click = doors[i].click] {
            (manual->*click)();
            if (!model_.Visible) hide();  // Command13 leaves the settings form
            render();
        });
        doors_[size_t(i)] = b;
        row->addWidget(b);
    }
    return w;
}

void StationWindow::hideEvent(QHideEvent* event) {
    // Closed: read-only again until the code is given.
    if (editor_ && !event->spontaneous()) editor_->lock();
    QWidget::hideEvent(event);
}

void StationWindow::render() {
    const Form2& f = model_;
    setWindowTitle(f.Caption);
    for (int i = 0; i < 4; ++i) label2_[size_t(i)]->setText(f.Label2[i]);
    for (int i = 0; i < 12; ++i) label3_[size_t(i)]->setText(f.Label3[i]);
    for (int i = 0; i < 2; ++i) {
        label5_[size_t(i)]->setText(f.Label5[i]);
        if (positionCaptions_[size_t(i)]->text() != f.PositionCaption[i])
            positionCaptions_[size_t(i)]->setText(f.PositionCaption[i]);
    }
    diagnostics_->setText(state_.form3.Label21);
    // The indicators: button state, pipe head down, gantry running.
    QStringList captions;
    for (int i : {55, 36, 39}) captions << f.Label1[i].trimmed();
    const QString title = captions.join(QStringLiteral(" / "));
    if (inputs_->title() != title) inputs_->setTitle(title);
    if (manual_) manual_->render();
    if (service_) service_->render();
    if (fields_) fields_->render();
    if (valves_) valves_->render();
    if (slots_) slots_->render();
    if (access_) {
        const QString text = f.Editable ? QStringLiteral("editable")
                                        : QStringLiteral("read-only: enter the password to edit");
        if (access_->text() != text) access_->setText(text);
        unlock_->setEnabled(!f.Editable);
    }
    const Button* buttons[2] = {&f.Command13, &f.Command15};
    for (int i = 0; i < 2; ++i)
        if (doors_[size_t(i)] && doors_[size_t(i)]->text() != buttons[i]->Caption)
            doors_[size_t(i)]->setText(buttons[i]->Caption);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(f.BackColor));
    setPalette(p);
}

}  // namespace dye
