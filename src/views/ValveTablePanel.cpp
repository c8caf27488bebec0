#include "ValveTablePanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "files/settings/FieldCaptions.h"
#include "files/settings/SettingRanges.h"
#include "screens/settings/SettingsEditor.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/EntryBox.h"

namespace dye {
namespace {

constexpr int kRows = 24;
constexpr int kWidths[4] = {80, 70, 110, 70};

}  // namespace

ValveTablePanel::ValveTablePanel(const StationState& state, SettingsEditor& editor, QWidget* parent)
    : QWidget(parent), s_(state) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    for (int c = 0; c < 4; ++c) {
        headers_[size_t(c)] = new QLabel(this);
        headers_[size_t(c)]->setObjectName(QStringLiteral("Label1_%1").arg(valveColumnLabel(c)));
        grid->addWidget(headers_[size_t(c)], 0, c + 1);
    }
    for (int r = 0; r < kRows; ++r) {
        label6_[size_t(r)] = new QLabel(this);
        label6_[size_t(r)]->setObjectName(QStringLiteral("Label6_%1").arg(r));
        grid->addWidget(label6_[size_t(r)], r + 1, 0);
        for (int c = 0; c < 4; ++c) {
            const int k = c * kRows + r;
            auto* box = new EntryBox(this);
            box->setObjectName(QStringLiteral("Text4_%1").arg(k));
            box->setFixedWidth(kWidths[c]);
            box->commit = [&editor, k](const QString& text) {
                return editor.saveValveTableField(k, text);
            };
            text4_[size_t(k)] = box;
            grid->addWidget(box, r + 1, c + 1);
        }
        // Forgets what the station has learned of this valve.
        auto* reset = new QPushButton(QStringLiteral("reset learned"), this);
        reset->setObjectName(QStringLiteral("ResetLearned_%1").arg(r + 1));
        QObject::connect(reset, &QPushButton::clicked, this,
                         [&editor, r] { editor.resetLearned(r + 1); });
        nameControl(reset, QStringLiteral("reset learned %1").arg(r + 1));
        grid->addWidget(reset, r + 1, 5);
    }
    // Enter moves on within the array: down a column, then to the next column.
    for (int k = 0; k + 1 < 96; ++k) text4_[size_t(k)]->next = text4_[size_t(k + 1)];
    render();
}

void ValveTablePanel::render() {
    const Form2& f = s_.form2;
    for (int c = 0; c < 4; ++c) {
        const QString applied = f.Label1[valveColumnLabel(c)].trimmed();
        const QString text = applied.isEmpty() ? valveColumnCaption(c) : applied;
        if (headers_[size_t(c)]->text() != text) headers_[size_t(c)]->setText(text);
    }
    for (int r = 0; r < kRows; ++r) {
        if (label6_[size_t(r)]->text() != f.Label6[r]) label6_[size_t(r)]->setText(f.Label6[r]);
        for (int c = 0; c < 4; ++c) {
            const int k = c * kRows + r;
            EntryBox* box = text4_[size_t(k)];
            box->display(s_.settings.Text4(k));
            box->setProblem(c == 0 ? valveProblem(s_.settings, r + 1)
                                   : valveFieldProblem(k, s_.settings.Text4(k)));
            box->setEditable(f.Editable);
            nameControl(box,
                        headers_[size_t(c)]->text() + QLatin1Char(' ') + QString::number(r + 1));
        }
    }
}

}  // namespace dye
