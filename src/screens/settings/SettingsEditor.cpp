#include "SettingsEditor.h"

#include "core/Dialogs.h"
#include "files/language/Wording.h"
#include "files/settings/FieldCaptions.h"
#include "files/settings/SettingRanges.h"
#include "files/settings/SettingsFiles.h"
#include "link/Registers.h"
#include "machine/BucketTransport.h"
#include "machine/MoveGuard.h"
#include "screens/settings/AccessCode.h"
#include "screens/settings/TeachSlotBoxes.h"
#include "screens/settings/TeachSlotSpread.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr int kSlots = Form2::kTeachSlots;

// The three fields of a slot, in the order of the field ranges (X, Z, name).
using Boxes = TeachSlotBoxes<kSlots, 3>;
constexpr Boxes::Member kMembers[3] = {&TeachSlot::x, &TeachSlot::z, &TeachSlot::name};
constexpr Boxes kBoxes{kMembers};
static_assert(Boxes::kBoxes == Form2::kTeachFields);

// The teach table with the slots as the screen shows them.
MachineSettings shown(const StationState& s) {
    return kBoxes.withTexts(s.settings, s.form2.Text2);
}

}  // namespace

SettingsEditor::SettingsEditor(StationState& state, Dialogs& dialogs, BucketTransport& transport,
                               QDir workdir)
    : s_(state), dialogs_(dialogs), transport_(transport), workdir_(std::move(workdir)) {}

void SettingsEditor::say(const QString& text) {
    dialogs_.message(text, QStringLiteral("SETTING"), [] {});
}

bool SettingsEditor::editable() {
    if (s_.form2.Editable) return true;
    say(s_.say(
        {u"設定為唯讀：請先輸入密碼。", u"The settings are read-only: give the password first."}));
    return false;
}

bool SettingsEditor::resetLearned(int valve) {
    if (!editable() || valve < 1 || valve > MachineSettings::kValveCount || !learnedReset_)
        return false;
    QString error;
    if (!learnedReset_(valve, &error)) {
        say(s_.say({u"%1 號閥的學習值無法重設：%2",
                    u"Valve %1: the learned allowance cannot be reset: %2"})
                .arg(valve)
                .arg(error));
        return false;
    }
    say(s_.say({u"%1 號閥的學習值已重設；在重新學習之前，此閥依閥門表計量。",
                u"Valve %1: the learned allowance is reset; the valve is metered by the table "
                u"until it is learned again."})
            .arg(valve));
    return true;
}

bool SettingsEditor::unlock() {
    if (!askSettingsCode(s_, dialogs_)) return false;
    s_.form2.Editable = true;
    return true;
}

bool SettingsEditor::saveField(int i, const QString& text) {
    if (i < 0 || i >= MachineSettings::kFieldCount || !editable()) return false;
    // A machine type typed is checked with the ranges of that type.
    MachineSettings typed;
    typed.setText1(SettingsField::MachineType, i == SettingsField::MachineType
                                                   ? text
                                                   : s_.settings.Text1(SettingsField::MachineType));
    if (const QString why = settingProblem(i, text, typed.machineType()); !why.isEmpty()) {
        say(s_.say({u"%1 沒有存檔：%2。", u"%1 not saved: %2."}).arg(settingsFieldCaption(i), why));
        return false;
    }
    QString error;
    if (!saveSettingsField(workdir_, i, text, &error)) {
        say(s_.say({u"%1 沒有存檔：%2", u"%1 not saved: %2"}).arg(settingsFieldCaption(i), error));
        return false;
    }
    const QString saved = trimSpaces(text);
    const bool languageChanged = i == SettingsField::Language && s_.settings.Text1(i) != saved;
    s_.settings.setText1(i, saved);
    if (actsAtStartUp(i))
        say(s_.say({u"%1 已存檔：下次啟動程式時生效。",
                    u"%1 saved: it takes effect at the next start of the program."})
                .arg(settingsFieldCaption(i)));
    if (languageChanged && languageChanged_) languageChanged_();
    return true;
}

bool SettingsEditor::saveValveTableField(int k, const QString& text) {
    if (k < 0 || k >= MachineSettings::kValveFieldCount || !editable()) return false;
    if (const QString why = valveFieldProblem(k, text); !why.isEmpty()) {
        say(s_.say({u"閥門表第 %1 欄沒有存檔：%2。", u"Valve table field %1 not saved: %2."})
                .arg(k)
                .arg(why));
        return false;
    }
    QString error;
    if (!saveValveField(workdir_, k, text, &error)) {
        say(s_.say({u"閥門表第 %1 欄沒有存檔：%2", u"Valve table field %1 not saved: %2"})
                .arg(k)
                .arg(error));
        return false;
    }
    s_.settings.setText4(k, trimSpaces(text));
    return true;
}

void SettingsEditor::showSaved() {
    kBoxes.showUnedited(s_.settings, s_.form2.Text2, s_.form2.Text2Edited);
}

bool SettingsEditor::editTeachField(int k, const QString& text) {
    if (k < 0 || k >= Form2::kTeachFields || !editable()) return false;
    showSaved();
    s_.form2.Text2[k] = trimSpaces(text);
    s_.form2.Text2Edited[size_t(k)] = true;
    return true;
}

void SettingsEditor::spreadSlots() {
    if (!editable()) return;
    showSaved();
    MachineSettings spread = shown(s_);
    spreadLineSlots(spread);
    kBoxes.showChanges(spread, s_.form2.Text2, s_.form2.Text2Edited);
}

bool SettingsEditor::saveSlots() {
    if (!editable()) return false;
    showSaved();
    const MachineSettings table = shown(s_);
    QString error;
    if (!saveTeachSlots(workdir_, table, TeachSlotScope::SettingsScreen, &error)) {
        say(s_.say({u"位置座標沒有存檔：%1", u"The teach slots are not saved: %1"}).arg(error));
        return false;
    }
    for (int k = 1; k <= Form2::kTeachSlots; ++k) s_.settings.setTeachSlot(k, table.teachSlot(k));
    s_.form2.Text2Edited.reset();
    showSaved();
    return true;
}

void SettingsEditor::zeroBalance(int index) {
    if (index != 0 && index != 2) return;
    const int station = index == 0 ? 1 : 2;
    QString why;
    if (s_.station[size_t(station)].StationStep != 0)
        why = s_.say({u"第 %1 站正在計量", u"station %1 is metering"}).arg(station);
    else if (s_.onMachine())
        why = s_.say({u"機台上有工作", u"a job is on the machine"});
    if (!why.isEmpty()) {
        say(s_.say({u"第 %1 號天平沒有歸零：%2。", u"Balance <%1> is not zeroed: %2."})
                .arg(station)
                .arg(why));
        return;
    }
    s_.link.image.set(station == 1 ? reg::Tare1 : reg::Tare2, 10);
}

void SettingsEditor::slotClicked(int k) {
    if (k < 0 || k >= kSlots || !s_.form2.Check1) return;
    s_.form2.Label4Selected = k + 1;
    if (s_.machineType() == 4) {
        say(s_.say({u"機型 4 沒有行車：桶位由位置設定畫面操作。",
                    u"Machine type 4 has no gantry: its places are driven from the position "
                    u"screen."}));
        return;
    }
    QString why = moveRefusal(s_);
    for (int field = k; why.isEmpty() && field < Form2::kTeachFields; field += kSlots)
        if (s_.form2.Text2Edited[size_t(field)])
            why = s_.say({u"位置的修改尚未存檔：請先存檔",
                          u"its changes are not saved: save the positions first"});
    if (!why.isEmpty()) {
        say(s_.say({u"行車不移到第 %1 位：%2。", u"The gantry is not moved to slot %1: %2."})
                .arg(k + 1)
                .arg(why));
        return;
    }
    transport_.toSlot(k + 1);
}

void SettingsEditor::lock() {
    s_.form2.Visible = false;
    s_.form2.Editable = false;
}

}  // namespace dye
