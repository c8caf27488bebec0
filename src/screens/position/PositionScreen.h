#pragma once

#include <QDir>
#include <QString>

namespace dye {

class BucketTransport;
class Dialogs;
struct StationState;

// The position teaching screen's handlers (Form9): teaching the 64 slots,
// spreading and saving them, the compensation distances, homing and moves of
// the three axes, the drain valve and the slot click that sends the gantry
// to a slot or drives the conveyor to a place.
//
// What the operator types stays on the screen until it is saved; the run and
// the moves read only the saved teach table. Every move acts only while the
// machine is free for it (moveRefusal) and otherwise says why.
class PositionScreen {
  public:
    PositionScreen(StationState& state, BucketTransport& transport, Dialogs& dialogs, QDir workdir);

    // Brings the shown fields that the operator has not changed up to date
    // with the saved teach table (before every showing).
    void showSaved();

    // A teach field typed into (0..255) and the compensation fields.
    void teachFieldChanged(int i, const QString& text);
    void firstCompensationChanged(const QString& text);
    void secondCompensationChanged(const QString& text);
    // Enter in a compensation field saves it (Y_Name.txt record 65 or 66).
    void saveFirstCompensation();
    void saveSecondCompensation();

    void homeX();  // "X=0"
    void homeY();  // "Y=0"
    void homeZ();  // "Z=0"
    // Enter in Text3(0..2): moves X, Y or Z to the position typed.
    void moveAxisTo(int index);

    void spreadSlots();  // "座標平均": spreads the shown slots by machine type
    // "座標存檔": saves the 64 shown slots; false (and a message) on failure,
    // with the edits kept on the screen.
    bool saveSlots();
    void openDrainValve();  // "排水閥": D903 = 100

    // Click on slot number `k` (0..63).
    void slotClicked(int k);

  private:
    bool refused();
    void say(const QString& text);
    QString noReading(int axis) const;  // no move: axis 0..2 has no reading
    void home(int axis);
    void conveyorClick(int k);

    StationState& s_;
    BucketTransport& transport_;
    Dialogs& dialogs_;
    QDir workdir_;
};

}  // namespace dye
