#include "ManualControls.h"

#include <cmath>
#include <limits>

#include "core/Dialogs.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "link/Registers.h"
#include "machine/BucketTransport.h"
#include "machine/HandWash.h"
#include "machine/MoveGuard.h"
#include "machine/StationMetering.h"
#include "screens/position/ManualValues.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr qint32 kEnd = RegisterImage::RegNoValue;
constexpr qint32 kOpen = 30000;  // on until closed
constexpr int kValves = 24;
constexpr int kOutputs = 4;
constexpr BucketTransport::Axis kAxes[2] = {BucketTransport::Axis::X, BucketTransport::Axis::Z};
constexpr const char* kAxisNames[2] = {"X", "Z"};

}  // namespace

ManualControls::ManualControls(StationState& state, BucketTransport& transport, Dialogs& dialogs,
                               ScreenRequests screens)
    : s_(state), transport_(transport), dialogs_(dialogs), screens_(std::move(screens)) {}

void ManualControls::fillCombos() {
    dye::fillCombos(s_.form2);
}

void ManualControls::open(int reg, const QString& timeText) {
    if (const auto time = registerValue(timeText)) s_.link.image.set(reg, *time);
}

void ManualControls::close(int reg) {
    s_.link.image.set(reg, kEnd);
}

// Product valve.

void ManualControls::startProductValve() {
    const Form2& f = s_.form2;
    if (const auto valve = selectorValue(f.Combo[1], 1, kValves))
        open(reg::valve(*valve), f.Combo[2]);
}

void ManualControls::stopProductValve() {
    if (const auto valve = selectorValue(s_.form2.Combo[1], 1, kValves)) close(reg::valve(*valve));
}

// Outputs D801..D804.

void ManualControls::startOutput() {
    const Form2& f = s_.form2;
    if (const auto out = selectorValue(f.Combo[3], 1, kOutputs))
        open(reg::output(*out), f.Combo[4]);
}

void ManualControls::stopOutput() {
    if (const auto out = selectorValue(s_.form2.Combo[3], 1, kOutputs)) close(reg::output(*out));
}

// Wash water and conveyor valves.

void ManualControls::startWaterOrGateValve() {
    const Form2& f = s_.form2;
    if (const auto which = selectorValue(f.Combo[5], 1, 2))
        open(*which == 1 ? reg::WaterValve : reg::GateValve, f.Combo[6]);
}

void ManualControls::stopWaterOrGateValve() {
    if (const auto which = selectorValue(s_.form2.Combo[5], 1, 2))
        close(*which == 1 ? reg::WaterValve : reg::GateValve);
}

// Conveyor motor, air and water in.

void ManualControls::startConveyor() {
    open(reg::ConveyorMotor, s_.form2.Combo[7]);
}
void ManualControls::stopConveyor() {
    close(reg::ConveyorMotor);
}
void ManualControls::openAir1() {
    s_.link.image.set(reg::Air1, kOpen);
}
void ManualControls::closeAir1() {
    close(reg::Air1);
}
void ManualControls::openAir2() {
    s_.link.image.set(reg::Air2, kOpen);
}
void ManualControls::closeAir2() {
    close(reg::Air2);
}
void ManualControls::letWaterIn() {
    s_.link.image.set(reg::WaterIn, 200);
}

// Axes: 0 is X, 1 is Z.

bool ManualControls::moveRefused(int axis) {
    QString why = moveRefusal(s_);
    if (why.isEmpty() && !transport_.axisIdle(kAxes[axis]))
        why = s_.say({u"%1 軸沒有目前的讀數", u"the %1 axis has no current reading"})
                  .arg(QLatin1String(kAxisNames[axis]));
    if (why.isEmpty()) return false;
    dialogs_.message(noMoveText(s_, why), QString(), [] {});
    return true;
}

void ManualControls::homeX() {
    s_.form2.Label4Selected = 0;  // every slot number back to its normal colour
    if (!moveRefused(0)) transport_.home(BucketTransport::Axis::X);
}

void ManualControls::homeZ() {
    if (!moveRefused(1)) transport_.home(BucketTransport::Axis::Z);
}

void ManualControls::moveAxisTo(int index) {
    if (index < 0 || index > 1 || moveRefused(index)) return;
    const QString& text = s_.form2.Text3[index];
    if (!transport_.moveTo(kAxes[index], Val(text)))
        dialogs_.message(s_.say({u"不移動：「%1」不是 %2 軸從目前位置能到達的位置；請輸入整數。",
                                 u"No move: \"%1\" is not a position the %2 axis can "
                                 u"reach from where it is; type a whole number."})
                             .arg(text, QLatin1String(kAxisNames[index])),
                         QString(), [] {});
}

// Wash and manual meterings.

void ManualControls::requestWash() {
    requestHandWash(s_, dialogs_);
}

void ManualControls::startManualMetering(int station, const QString& valveText,
                                         const QString& target) {
    // The station and its balance belong to the job on the machine, and a
    // metering that runs is not taken over.
    const int language = s_.settings.language();
    QString why;
    if (s_.onMachine())
        why = wordingIn(language, {u"機台上有工作", u"a job is on the machine"});
    else if (s_.station[size_t(station)].StationStep != 0)
        why = wordingIn(language, {u"第 %1 站正在計量", u"station %1 is metering"}).arg(station);
    if (!why.isEmpty()) {
        dialogs_.message(wordingIn(language, {u"第 %1 站無法手動計量：%2。",
                                              u"No manual metering on station %1: %2."})
                             .arg(station)
                             .arg(why),
                         QString(), [] {});
        return;
    }
    // A valve the box does not offer goes to the station as 0, which it
    // refuses with a message (no rate to meter with).
    const int valve = selectorValue(valveText, 1, kValves).value_or(0);
    startMetering(s_, station, valve, target.trimmed());
}

void ManualControls::meterOnStation1() {
    startManualMetering(1, s_.form2.Combo[8], s_.form2.Text5);
}
void ManualControls::meterOnStation2() {
    startManualMetering(2, s_.form2.Combo[9], s_.form2.Text6);
}

// Other screens.

void ManualControls::showMainScreen() {
    if (screens_.showMainScreen) screens_.showMainScreen();
    s_.form2.Visible = false;
    s_.form2.Editable = false;
}

void ManualControls::showLanguageEditor() {
    if (screens_.showLanguageEditor) screens_.showLanguageEditor();
}

void ManualControls::showProfilePicker() {
    if (screens_.showProfilePicker) screens_.showProfilePicker();
}

void ManualControls::showDyeMixTable() {
    if (screens_.showDyeMixTable) screens_.showDyeMixTable();
}

void ManualControls::captionDoubleClicked(int index) {
    if (index == 18 && screens_.showWashTable) screens_.showWashTable();
}

}  // namespace dye
