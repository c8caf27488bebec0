#include "ServicePanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "screens/position/ManualControls.h"
#include "station/StationState.h"
#include "views/Accessible.h"

namespace dye {
namespace {

// Combo3..Combo7 and the Label1 caption beside each: valve, time, wash or
// conveyor valve, time, conveyor motor time.
struct ComboCaption {
    int combo;
    int label;
};
constexpr ComboCaption kCaptions[5] = {{3, 11}, {4, 10}, {5, 13}, {6, 12}, {7, 14}};

}  // namespace

ServicePanel::ServicePanel(const StationState& state, Form2& model, ManualControls& controls,
                           QWidget* parent)
    : QWidget(parent), s_(state), model_(model) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int n = 0; n < 5; ++n) {
        const int i = kCaptions[n].combo;
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("Combo%1").arg(i));
        combo->addItems(model_.ComboItems[size_t(i)]);
        combo->setCurrentText(model_.Combo[i]);
        combos_[size_t(i)] = combo;
        captions_[size_t(n)] = new QLabel(this);
        captions_[size_t(n)]->setObjectName(QStringLiteral("Label1_%1").arg(kCaptions[n].label));
    }
    auto button = [this](const char* caption, const char* name, auto handler) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, handler] {
            pull();
            handler();
            render();
        });
        return b;
    };
    ManualControls* c = &controls;
    // Outputs D801..D804.
    grid->addWidget(captions_[0], 0, 0);
    grid->addWidget(combos_[3], 0, 1);
    grid->addWidget(captions_[1], 0, 2);
    grid->addWidget(combos_[4], 0, 3);
    grid->addWidget(button("Start", "Command7", [c] { c->startOutput(); }), 0, 4);
    grid->addWidget(button("Stop", "Command6", [c] { c->stopOutput(); }), 0, 5);
    // Wash water (1) or conveyor (2) valve.
    grid->addWidget(captions_[2], 1, 0);
    grid->addWidget(combos_[5], 1, 1);
    grid->addWidget(captions_[3], 1, 2);
    grid->addWidget(combos_[6], 1, 3);
    grid->addWidget(button("Start", "Command9", [c] { c->startWaterOrGateValve(); }), 1, 4);
    grid->addWidget(button("Stop", "Command8", [c] { c->stopWaterOrGateValve(); }), 1, 5);
    // Conveyor motor.
    grid->addWidget(captions_[4], 2, 0);
    grid->addWidget(combos_[7], 2, 1);
    grid->addWidget(button("Start", "Command10", [c] { c->startConveyor(); }), 2, 4);
    grid->addWidget(button("Stop", "Command11", [c] { c->stopConveyor(); }), 2, 5);
    // Air and water in.
    grid->addWidget(button("air1 ", "Command17", [c] { c->openAir1(); }), 3, 0);
    grid->addWidget(button("air1 close", "Command20", [c] { c->closeAir1(); }), 3, 1);
    grid->addWidget(button("air2", "Command18", [c] { c->openAir2(); }), 3, 2);
    grid->addWidget(button("air2 close", "Command21", [c] { c->closeAir2(); }), 3, 3);
    grid->addWidget(button("waterIN", "Command19", [c] { c->letWaterIn(); }), 3, 4);
    // The X and Z axes.
    grid->addWidget(button("X=0", "Command5", [c] { c->homeX(); }), 4, 0);
    grid->addWidget(button("Z=0", "Command4", [c] { c->homeZ(); }), 4, 1);
    for (int i = 0; i < 2; ++i) {
        auto* entry = new QLineEdit(this);
        entry->setObjectName(QStringLiteral("Text3_%1").arg(i));
        connect(entry, &QLineEdit::returnPressed, this, [this, c, i] {
            pull();
            c->moveAxisTo(i);
            render();
        });
        text3_[size_t(i)] = entry;
        grid->addWidget(entry, 4, 2 + 2 * i, 1, 2);
    }
    render();
}

void ServicePanel::pull() {
    for (int i = 3; i <= 7; ++i) model_.Combo[i] = combos_[size_t(i)]->currentText();
    for (int i = 0; i < 2; ++i) model_.Text3[i] = text3_[size_t(i)]->text();
}

void ServicePanel::render() {
    for (int n = 0; n < 5; ++n) {
        const QString text = model_.Label1[kCaptions[n].label].trimmed();
        if (captions_[size_t(n)]->text() != text) captions_[size_t(n)]->setText(text);
        nameControl(combos_[size_t(kCaptions[n].combo)], text);
    }
    // The X and Z move entries show their caption while empty, and are named by it.
    for (int i = 0; i < 2; ++i) {
        if (text3_[size_t(i)]->placeholderText() != model_.MoveCaption[i])
            text3_[size_t(i)]->setPlaceholderText(model_.MoveCaption[i]);
        nameControl(text3_[size_t(i)], model_.MoveCaption[i]);
    }
}

}  // namespace dye
