#include "SettingsFieldsPanel.h"

#include <QGridLayout>

#include "files/settings/FieldCaptions.h"
#include "files/settings/SettingRanges.h"
#include "screens/position/ManualControls.h"
#include "screens/settings/SettingsEditor.h"
#include "station/StationState.h"
#include "views/Accessible.h"
#include "views/EntryBox.h"
#include "views/ModelWidgets.h"

namespace dye {
namespace {

// The first field of each of the four columns, and one past the last field.
constexpr int kColumnStarts[5] = {0, 13, 24, 31, 38};
constexpr int kWashCountField = 3;  // its caption, Label1(18), opens the wash table

}  // namespace

SettingsFieldsPanel::SettingsFieldsPanel(const StationState& state, SettingsEditor& editor,
                                         ManualControls* manual, QWidget* parent)
    : QWidget(parent), s_(state) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    for (int c = 0; c < 4; ++c) {
        for (int i = kColumnStarts[c]; i < kColumnStarts[c + 1]; ++i) {
            auto* label = new ClickLabel(this);
            const int labelIndex = settingsFieldLabel(i);
            // Captions that follow the language keep their Label1 name.
            label->setObjectName(labelIndex >= 0 ? QStringLiteral("Label1_%1").arg(labelIndex)
                                                 : QStringLiteral("Caption_%1").arg(i));
            if (i == kWashCountField && manual)
                label->onDoubleClick = [manual, labelIndex] {
                    manual->captionDoubleClicked(labelIndex);
                };
            auto* box = new EntryBox(this);
            box->setObjectName(QStringLiteral("Text1_%1").arg(i));
            box->setMinimumWidth(90);
            box->commit = [&editor, i](const QString& text) { return editor.saveField(i, text); };
            captions_[size_t(i)] = label;
            text1_[size_t(i)] = box;
            const int row = i - kColumnStarts[c];
            grid->addWidget(label, row, 2 * c);
            grid->addWidget(box, row, 2 * c + 1);
        }
    }
    for (int i = 0; i + 1 < 38; ++i) text1_[size_t(i)]->next = text1_[size_t(i + 1)];
    render();
}

QString SettingsFieldsPanel::caption(int i) const {
    const int label = settingsFieldLabel(i);
    const QString applied = label >= 0 ? s_.form2.Label1[label].trimmed() : QString();
    return applied.isEmpty() ? settingsFieldCaption(i) : applied;
}

void SettingsFieldsPanel::render() {
    for (int i = 0; i < 38; ++i) {
        const QString text = caption(i);
        if (captions_[size_t(i)]->text() != text) captions_[size_t(i)]->setText(text);
        EntryBox* box = text1_[size_t(i)];
        box->display(s_.settings.Text1(i));
        box->setProblem(settingProblem(i, s_.settings.Text1(i), s_.machineType()));
        box->setEditable(s_.form2.Editable);
        nameControl(box, text);
    }
}

}  // namespace dye
