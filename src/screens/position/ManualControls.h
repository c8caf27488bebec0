#pragma once

#include <QString>

#include <functional>

namespace dye {

class BucketTransport;
class Dialogs;
struct StationState;

// Screens the settings form's buttons open; each is answered by the screen
// once it exists (unset: the request is ignored).
struct ScreenRequests {
    std::function<void()> showMainScreen;      // Command13 "配方輸入"
    std::function<void()> showLanguageEditor;  // Command15 "語言檔"
    std::function<void()> showProfilePicker;   // Command16 "LINK TYPE"
    std::function<void()> showDyeMixTable;     // Command22 "DYE_MIX"
    std::function<void()> showWashTable;       // double-click on "洗桶次數"
};

// The service controls of the settings form: each handler writes fixed
// values or the values chosen in the combo boxes into the register image,
// starts a manual metering or a wash, or opens another screen. They act at
// once; the moves of the gantry (homing, the move entries) first ask whether
// the machine is free to move (moveRefusal), the wash and the manual metering
// whether the machine or the station is free for them, and otherwise say why
// and do nothing. The teach slots are the settings editor's.
//
// A register number or value taken from a combo box or an entry is used only
// when it is what the control offers (a valve 1..24, an output 1..4, a time
// as a whole number in 1..32767, a position and a distance within a signed
// 16-bit word); otherwise the control writes nothing, so an empty or mistyped
// box can neither reach a register next to the one meant, nor clear a value
// still waiting to be sent, nor send a value wrapped round 16 bits.
class ManualControls {
  public:
    ManualControls(StationState& state, BucketTransport& transport, Dialogs& dialogs,
                   ScreenRequests screens = {});
    void setScreens(ScreenRequests screens) { screens_ = std::move(screens); }

    // Fills the combo boxes' lists (at the settings form's load).
    void fillCombos();

    // Product valve: Combo1 the valve, Combo2 the opening time; D(850 + valve).
    void startProductValve();  // "Start"
    void stopProductValve();   // "Stop"
    // Outputs D801..D804: Combo3 the output, Combo4 the time.
    void startOutput();  // "Start"
    void stopOutput();   // "Stop"
    // Combo5 1: wash water valve D985; 2: conveyor (gate) valve D986; Combo6 the time.
    void startWaterOrGateValve();  // "Start"
    void stopWaterOrGateValve();   // "Stop"
    // Conveyor motor D847, Combo7 the time.
    void startConveyor();  // "Start"
    void stopConveyor();   // "Stop"
    // Air 1 (D840), air 2 (D841) and water in (D842).
    void openAir1();    // "air1 "
    void closeAir1();   // "air1 close"
    void openAir2();    // "air2"
    void closeAir2();   // "air2 close"
    void letWaterIn();  // "waterIN"

    // Homing and moves of the X and Z axes, while the machine is free to move
    // and the axis stands still (D304 for X, D307 for Z read 0).
    void homeX();  // "X=0"
    void homeZ();  // "Z=0"
    // Enter in Text3(0) ("X移動距離") or Text3(1) ("Z移動距離"): moves the
    // axis to the position typed.
    void moveAxisTo(int index);

    // "清洗桶": requests a wash, or says why not (requestHandWash).
    void requestWash();

    // Enter in a station's target entry: a manual metering with the
    // station's valve (Combo8 / Combo9) to the target typed. Refused, with a
    // message, while a job is on the machine or the station meters.
    void meterOnStation1();
    void meterOnStation2();

    // "配方輸入": the main screen; the settings are read-only again.
    void showMainScreen();
    void showLanguageEditor();  // "語言檔": the language editor
    void showProfilePicker();   // "LINK TYPE": the site profile picker
    void showDyeMixTable();     // "DYE_MIX": the dye-mix table
    // Double-click on a caption: Label1(18) "洗桶次數" opens the wash table.
    void captionDoubleClicked(int index);

  private:
    // D(register) = the time in `timeText`, when it is a register value.
    void open(int reg, const QString& timeText);
    void close(int reg);
    void startManualMetering(int station, const QString& valveText, const QString& target);
    // True, with a message saying why, when the axis must not move now.
    bool moveRefused(int axis);

    StationState& s_;
    BucketTransport& transport_;
    Dialogs& dialogs_;
    ScreenRequests screens_;
};

}  // namespace dye
