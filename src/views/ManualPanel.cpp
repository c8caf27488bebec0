#include "ManualPanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "screens/position/ManualControls.h"
#include "station/StationState.h"
#include "views/Accessible.h"

namespace dye {
namespace {

// Field k of station 1 is captioned by Label1(26 + k), of station 2 by Label1(35 - k).
int captionIndex(int station, int k) {
    return station == 0 ? 26 + k : 35 - k;
}

}  // namespace

ManualPanel::ManualPanel(const StationState& state, Form2& model, ManualControls& controls,
                         QWidget* parent)
    : QWidget(parent), s_(state), model_(model), controls_(controls) {
    auto* grid = new QGridLayout(this);
    for (int i : {1, 2, 8, 9}) {
        combos_[size_t(i)] = new QComboBox(this);
        combos_[size_t(i)]->setObjectName(QStringLiteral("Combo%1").arg(i));
        combos_[size_t(i)]->addItems(model_.ComboItems[size_t(i)]);
        combos_[size_t(i)]->setCurrentText(model_.Combo[i]);
    }
    auto button = [this](const QString& caption, const QString& name, auto handler) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, handler] {
            pull();
            handler();
            render();
        });
        return b;
    };

    // Valve n open for the chosen time (Label1(2) / Label1(3)).
    valve_ = new QGroupBox(this);
    valve_->setObjectName(QStringLiteral("ValveFrame"));
    auto* v = new QGridLayout(valve_);
    v->addWidget(combo(1), 0, 0);
    v->addWidget(combo(2), 0, 1);
    v->addWidget(button(QStringLiteral("Start"), QStringLiteral("Command1"),
                        [this] { controls_.startProductValve(); }),
                 0, 2);
    v->addWidget(button(QStringLiteral("Stop"), QStringLiteral("Command2"),
                        [this] { controls_.stopProductValve(); }),
                 0, 3);
    grid->addWidget(valve_, 0, 0, 1, 2);

    // Manual metering: valve and target of each station, with its panel.
    text5_ = new QLineEdit(model_.Text5, this);
    text6_ = new QLineEdit(model_.Text6, this);
    text5_->setObjectName(QStringLiteral("Text5"));
    text6_->setObjectName(QStringLiteral("Text6"));
    for (int st = 0; st < 2; ++st) {
        auto* box = new QGroupBox(st == 0 ? QStringLiteral("<1>") : QStringLiteral("<2>"), this);
        box->setObjectName(QStringLiteral("Station%1Frame").arg(st + 1));
        auto* g = new QGridLayout(box);
        g->addWidget(combo(st == 0 ? 8 : 9), 0, 0);
        QLineEdit* target = st == 0 ? text5_ : text6_;
        g->addWidget(target, 0, 1);
        connect(target, &QLineEdit::returnPressed, this, [this, st] {
            pull();
            if (st == 0)
                controls_.meterOnStation1();
            else
                controls_.meterOnStation2();
            render();
        });
        for (int k = 0; k < 5; ++k) {
            const int index = st * 6 + k;
            label7_[size_t(index)] = new QLabel(box);
            label7_[size_t(index)]->setObjectName(QStringLiteral("Label7_%1").arg(index));
            label7_[size_t(index)]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            const int caption = captionIndex(st, k);
            label1_[size_t(caption)] = new QLabel(box);
            label1_[size_t(caption)]->setObjectName(QStringLiteral("Label1_%1").arg(caption));
            g->addWidget(label1_[size_t(caption)], k + 1, 0);
            g->addWidget(label7_[size_t(index)], k + 1, 1);
        }
        grid->addWidget(box, 1, st);
    }

    // The wash (Command14) and its clock.
    label8_ = new QLabel(this);
    label8_->setObjectName(QStringLiteral("Label8"));
    wash_ = button(QString(), QStringLiteral("Command14"), [this] { controls_.requestWash(); });
    grid->addWidget(wash_, 2, 0);
    grid->addWidget(label8_, 2, 1);
    render();
}

void ManualPanel::pull() {
    for (int i : {1, 2, 8, 9}) model_.Combo[i] = combo(i)->currentText();
    model_.Text5 = text5_->text();
    model_.Text6 = text6_->text();
}

void ManualPanel::render() {
    for (int i = 0; i < 12; ++i)
        if (label7_[size_t(i)]) label7_[size_t(i)]->setText(model_.Label7[i]);
    label8_->setText(model_.Label8);
    for (int st = 0; st < 2; ++st) {
        for (int k = 0; k < 5; ++k) {
            const int i = captionIndex(st, k);
            const QString text = model_.Label1[i].trimmed();
            if (label1_[size_t(i)]->text() != text) label1_[size_t(i)]->setText(text);
        }
        // A station's target entry shows its caption while empty.
        QLineEdit* target = st == 0 ? text5_ : text6_;
        const QString hint = model_.Label1[captionIndex(st, 1)].trimmed();
        if (target->placeholderText() != hint) target->setPlaceholderText(hint);
    }
    if (wash_->text() != model_.Command14.Caption) wash_->setText(model_.Command14.Caption);
    // The entries are named by the captions beside them.
    const QString motor = model_.Label1[2].trimmed();
    const QString time = model_.Label1[3].trimmed();
    if (valve_->title() != motor + QStringLiteral(" / ") + time)
        valve_->setTitle(motor + QStringLiteral(" / ") + time);
    nameControl(combo(1), motor);
    nameControl(combo(2), time);
    nameControl(combo(8), QStringLiteral("<1> ") + motor);
    nameControl(combo(9), QStringLiteral("<2> ") + motor);
    nameControl(text5_, label1_[size_t(captionIndex(0, 1))]->text());
    nameControl(text6_, label1_[size_t(captionIndex(1, 1))]->text());
}

}  // namespace dye
