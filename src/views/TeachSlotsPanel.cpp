#include "TeachSlotsPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>

#include "screens/settings/SettingsEditor.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/EntryBox.h"
#include "views/ModelWidgets.h"

namespace dye {
namespace {

constexpr int kSlots = 25;
constexpr Color kSelected = rgb(0, 180, 0);

}  // namespace

TeachSlotsPanel::TeachSlotsPanel(const StationState& state, Form2& model, SettingsEditor& editor,
                                 QWidget* parent)
    : QWidget(parent), s_(state), model_(model), editor_(editor) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    for (int c = 0; c < 2; ++c) {
        auto* header = new QLabel(c == 0 ? QStringLiteral("X") : QStringLiteral("Z"), this);
        header->setObjectName(QStringLiteral("Header_%1").arg(c));
        grid->addWidget(header, 0, c + 1);
    }
    nameHeader_ = new QLabel(this);
    nameHeader_->setObjectName(QStringLiteral("Label1_54"));
    grid->addWidget(nameHeader_, 0, 3);
    for (int k = 0; k < kSlots; ++k) {
        auto* number = new ClickLabel(this);
        number->setObjectName(QStringLiteral("Label4_%1").arg(k));
        number->setAlignment(Qt::AlignCenter);
        number->setMinimumWidth(28);
        number->onClick = [this, &editor, k] {
            editor.slotClicked(k);
            render();
        };
        label4_[size_t(k)] = number;
        grid->addWidget(number, k + 1, 0);
        for (int c = 0; c < 3; ++c) {
            const int i = c * kSlots + k;
            auto* box = new EntryBox(this);
            box->setObjectName(QStringLiteral("Text2_%1").arg(i));
            box->setFixedWidth(c == 2 ? 110 : 70);
            box->commit = [&editor, i](const QString& text) {
                return editor.editTeachField(i, text);
            };
            text2_[size_t(i)] = box;
            grid->addWidget(box, k + 1, c + 1);
        }
    }
    for (int i = 0; i + 1 < 75; ++i) text2_[size_t(i)]->next = text2_[size_t(i + 1)];

    check1_ = new QCheckBox(QStringLiteral("MOVE"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    connect(check1_, &QCheckBox::clicked, this, [this](bool on) { model_.Check1 = on; });
    check2_ = new QCheckBox(QStringLiteral("D985"), this);
    check2_->setObjectName(QStringLiteral("Check2"));
    connect(check2_, &QCheckBox::clicked, this, [this](bool on) { model_.Check2 = on; });
    spread_ = new QPushButton(this);
    spread_->setObjectName(QStringLiteral("Command3"));
    connect(spread_, &QPushButton::clicked, this, [this, &editor] {
        editor.spreadSlots();
        render();
    });
    save_ = new QPushButton(this);
    save_->setObjectName(QStringLiteral("Command12"));
    connect(save_, &QPushButton::clicked, this, [this, &editor] {
        editor.saveSlots();
        render();
    });
    grid->addWidget(check1_, kSlots + 1, 0, 1, 2);
    grid->addWidget(check2_, kSlots + 1, 2);
    grid->addWidget(spread_, kSlots + 2, 0, 1, 2);
    grid->addWidget(save_, kSlots + 2, 2, 1, 2);
    render();
}

void TeachSlotsPanel::render() {
    const Form2& f = model_;
    const QString name = f.Label1[54].trimmed();
    if (nameHeader_->text() != name) nameHeader_->setText(name);
    if (spread_->text() != f.Command3.Caption) spread_->setText(f.Command3.Caption);
    if (save_->text() != f.Command12.Caption) save_->setText(f.Command12.Caption);
    const QString headers[3] = {QStringLiteral("X"), QStringLiteral("Z"), name};
    // The slots as the screen shows them: saved, or changed and not yet saved.
    editor_.showSaved();
    for (int k = 0; k < kSlots; ++k) {
        ClickLabel* number = label4_[size_t(k)];
        if (number->text() != f.Label4[k]) number->setText(f.Label4[k]);
        paintBack(number, f.Label4Selected == k + 1 ? kSelected : kDefaultBack);
        for (int c = 0; c < 3; ++c) {
            EntryBox* box = text2_[size_t(c * kSlots + k)];
            box->display(f.Text2[c * kSlots + k]);
            box->setEditable(f.Editable);
            nameControl(box, headers[c] + QLatin1Char(' ') + QString::number(k + 1));
        }
    }
    if (check1_->isChecked() != f.Check1) check1_->setChecked(f.Check1);
    if (check2_->isChecked() != f.Check2) check2_->setChecked(f.Check2);
}

}  // namespace dye
