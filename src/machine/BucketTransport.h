#pragma once

#include <QString>

namespace dye {

class Dialogs;
struct StationState;

// Everything that moves a bucket or the pipe head: the gantry of machine
// types 1 and 3 (a move to a teach slot carried out axis by axis by the
// robot check on the scan's step 15), the conveyor outputs D901..D926 of
// machine type 4, and the manual axis moves of the settings form. The run,
// the wash and the manual controls all move through here.
class BucketTransport {
  public:
    BucketTransport(StationState& state, Dialogs& dialogs) : s_(state), dialogs_(dialogs) {}

    // An axis driven by hand: the settings form drives X and Z, the position
    // screen all three.
    enum class Axis { X, Y, Z };

    // Sends the gantry to teach slot `slot` (1..64): the slot's X, Y and Z go
    // into the position triples (old position, new position, difference) and
    // the robot check starts, which carries the move out axis by axis. A slot
    // outside 1..64 moves nothing.
    //
    // The robot check first runs Z home and only then moves X, Y and Z by the
    // differences of the triples. X and Y therefore move from their stored
    // positions, while Z moves from home: its difference is the slot's Z
    // itself. Positions are taken as whole numbers within 0..32767, so every
    // difference fits the 16-bit triple without wrapping.
    void toSlot(int slot);

    // Drives the conveyor to place index `p` (0-based; places 0..20 have a
    // stop), each output on for `time` (hundredths of a second; 30000 until
    // switched off). False, with the reason in `why` (in the station's
    // language), for a place without a stop.
    bool conveyorTo(int p, QString* why, qint32 time = 30000);
    // Every conveyor output off.
    void conveyorOff();

    // One step of the robot check (the scan's step 15).
    void robotCheckTick();

    // Readings of the gantry, on current inputs only.
    bool pipeHeadDown() const;
    bool axisIdle(Axis axis) const;

    // Homing and moves of the axes driven by hand, only while the axis
    // stands still; the stored position counts from the command on.
    // A move refuses a target or distance beyond a signed 16-bit word, or a
    // target that is not whole: false, nothing sent.
    void home(Axis axis);
    bool moveTo(Axis axis, double target);

  private:
    void axisMove(int firstRegister, int speed, qint16 distance);

    StationState& s_;
    Dialogs& dialogs_;
};

}  // namespace dye
