#include "PositionScreen.h"

#include "core/Dialogs.h"
#include "files/language/Wording.h"
#include "files/settings/SettingsFiles.h"
#include "link/Registers.h"
#include "machine/BucketTransport.h"
#include "machine/MoveGuard.h"
#include "screens/settings/TeachSlotBoxes.h"
#include "screens/settings/TeachSlotSpread.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr int kSlots = Form9::kSlots;
constexpr int kConveyorType = 4;
constexpr qint32 kDrainOpen = 100;
constexpr qint32 kConveyorPulse = 100;  // one second per click

// The four fields of a slot, in the order of the field ranges (X, Y, Z, name).
using Boxes = TeachSlotBoxes<kSlots, 4>;
constexpr Boxes::Member kMembers[4] = {&TeachSlot::x, &TeachSlot::y, &TeachSlot::z,
                                       &TeachSlot::name};
constexpr Boxes kBoxes{kMembers};
static_assert(Boxes::kBoxes == Form9::kFields);

// The teach table as the screen shows it.
MachineSettings shown(const StationState& s) {
    MachineSettings out = kBoxes.withTexts(s.settings, s.form9.Text2);
    out.setXCompensation(s.form9.Text1);
    out.setYCompensation(s.form9.Text4);
    return out;
}

const char* const kAxisNames[3] = {"X", "Y", "Z"};
constexpr BucketTransport::Axis kAxes[3] = {BucketTransport::Axis::X, BucketTransport::Axis::Y,
                                            BucketTransport::Axis::Z};

}  // namespace

PositionScreen::PositionScreen(StationState& state, BucketTransport& transport, Dialogs& dialogs,
                               QDir workdir)
    : s_(state), transport_(transport), dialogs_(dialogs), workdir_(std::move(workdir)) {}

void PositionScreen::say(const QString& text) {
    dialogs_.message(text, QString(), [] {});
}

QString PositionScreen::noReading(int axis) const {
    return noMoveText(s_, s_.say({u"%1 軸沒有目前的讀數", u"the %1 axis has no current reading"})
                              .arg(QLatin1String(kAxisNames[axis])));
}

bool PositionScreen::refused() {
    const QString why = moveRefusal(s_);
    if (why.isEmpty()) return false;
    say(noMoveText(s_, why));
    return true;
}

void PositionScreen::showSaved() {
    Form9& f = s_.form9;
    kBoxes.showUnedited(s_.settings, f.Text2, f.Text2Edited);
    if (!f.Text1Edited) f.Text1 = s_.settings.xCompensation();
    if (!f.Text4Edited) f.Text4 = s_.settings.yCompensation();
}

void PositionScreen::teachFieldChanged(int i, const QString& text) {
    if (i < 0 || i >= Form9::kFields) return;
    s_.form9.Text2[i] = text;
    s_.form9.Text2Edited[size_t(i)] = true;
}

void PositionScreen::firstCompensationChanged(const QString& text) {
    s_.form9.Text1 = text;
    s_.form9.Text1Edited = true;
}

void PositionScreen::secondCompensationChanged(const QString& text) {
    s_.form9.Text4 = text;
    s_.form9.Text4Edited = true;
}

void PositionScreen::saveFirstCompensation() {
    Form9& f = s_.form9;
    QString error;
    if (!saveXCompensation(workdir_, f.Text1, &error)) return say(error);
    f.Text1 = trimSpaces(f.Text1);
    s_.settings.setXCompensation(f.Text1);
    f.Text1Edited = false;
}

void PositionScreen::saveSecondCompensation() {
    Form9& f = s_.form9;
    QString error;
    if (!saveYCompensation(workdir_, f.Text4, &error)) return say(error);
    f.Text4 = trimSpaces(f.Text4);
    s_.settings.setYCompensation(f.Text4);
    f.Text4Edited = false;
}

// Homing and moves.

void PositionScreen::home(int axis) {
    if (refused()) return;
    if (!transport_.axisIdle(kAxes[axis])) return say(noReading(axis));
    transport_.home(kAxes[axis]);
}

void PositionScreen::homeX() {
    s_.form9.Label4Selected = 0;  // every slot number back to its normal colour
    home(0);
}
void PositionScreen::homeY() {
    home(1);
}
void PositionScreen::homeZ() {
    home(2);
}

void PositionScreen::moveAxisTo(int index) {
    if (index < 0 || index > 2) return;
    bool whole = false;
    const int target = s_.form9.Text3[index].trimmed().toInt(&whole);
    if (!whole || target < 0 || target > 32767)
        return say(s_.say({u"%1：「%2」不是位置；請輸入 0 到 32767 的整數。",
                           u"%1: \"%2\" is not a position; type a whole number from 0 to 32767."})
                       .arg(s_.form9.Label1[index == 0   ? 8
                                            : index == 1 ? 11
                                                         : 12],
                            s_.form9.Text3[index]));
    if (refused()) return;
    if (!transport_.axisIdle(kAxes[index])) return say(noReading(index));
    transport_.moveTo(kAxes[index], target);
}

// Teach table.

void PositionScreen::spreadSlots() {
    showSaved();
    const int type = s_.machineType();
    if (type != 1 && type != 3)
        return say(s_.say({u"座標平均只用於機型 1 和 3；本機是機型 %1。",
                           u"Slot spreading is for machine types 1 and 3; this is type %1."})
                       .arg(type));
    MachineSettings spread = shown(s_);
    if (type == 1)
        spreadLineSlots(spread);
    else
        spreadGridSlots(spread);
    kBoxes.showChanges(spread, s_.form9.Text2, s_.form9.Text2Edited);
}

bool PositionScreen::saveSlots() {
    showSaved();
    MachineSettings table = shown(s_);
    for (int k = 1; k <= kSlots; ++k) {
        TeachSlot slot = table.teachSlot(k);
        for (Boxes::Member m : kMembers) slot.*m = trimSpaces(slot.*m);
        table.setTeachSlot(k, slot);
    }
    QString error;
    if (!saveTeachSlots(workdir_, table, TeachSlotScope::PositionScreen, &error)) {
        say(s_.say({u"位置座標沒有存檔：%1", u"The positions were not saved: %1"}).arg(error));
        return false;
    }
    for (int k = 1; k <= kSlots; ++k) s_.settings.setTeachSlot(k, table.teachSlot(k));
    s_.form9.Text2Edited.reset();
    showSaved();
    return true;
}

void PositionScreen::openDrainValve() {
    s_.link.image.set(reg::DrainValve, kDrainOpen);
}

// Slot click.

void PositionScreen::slotClicked(int k) {
    if (k < 0 || k >= kSlots) return;
    if (s_.machineType() == kConveyorType) return conveyorClick(k);
    Form9& f = s_.form9;
    if (!f.Check1) return;
    f.Label4Selected = k + 1;
    if (refused()) return;
    for (int field = k; field < Form9::kFields; field += kSlots)
        if (f.Text2Edited[size_t(field)])
            return say(s_.say({u"第 %1 位的修改尚未存檔：請先存檔再移過去。",
                               u"Slot %1 has changes that are not saved: save the positions "
                               u"before moving to it."})
                           .arg(k + 1));
    transport_.toSlot(k + 1);
}

void PositionScreen::conveyorClick(int k) {
    if (refused()) return;
    QString why;
    if (!transport_.conveyorTo(k, &why, kConveyorPulse)) return say(why);
    s_.form9.Label4Selected = k + 1;
}

}  // namespace dye
