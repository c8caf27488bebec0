#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "machine/HeldOutputs.h"

namespace dye {

struct Wording;

class BucketTransport;
class Dialogs;
struct StationState;

// The washing sequence on Form2.Timer4 (1 s): a wash clock counting seconds,
// every action at a clock value relative to S, the wash water setting of the
// wash in progress. One cycle runs from clock 8 to clock S + 235; further
// cycles restart at clock 6; after the last one the wash is idle again
// (WashPhase 0).
//
// A wash alarm (water time-out, robot hand) never holds up the tick: the
// wash parks where it raised the alarm, with its code in MachineStatus.alarm(),
// and goes on from that very point once the operator acknowledges.
//
// A lost link holds the wash clock; when the controller answers again and the
// operator has acknowledged, the outputs the wash had on (water, gate,
// conveyor motor, drain) are switched on again and the wash goes on.
class WashSequence {
  public:
    using Log = std::function<void(const QString&)>;
    WashSequence(StationState& state, Dialogs& dialogs, BucketTransport& transport, Log log);

    void tick();

    // Back to idle (the stop commands): the clock and every working value
    // are cleared, and a wash message still waiting no longer resumes
    // anything when it is acknowledged.
    void reset();

    // True while an alarm of the wash waits for the operator.
    bool parked() const { return parked_; }

    // The form's working values of the wash, under the names the screens
    // know them by. WashClock is shown on the settings and main screens.
    qint64 WashClock = 0;
    int WashFillTicks = 0;   // seconds spent on a weight-measured filling
    qint64 washWater = 0;    // S x 100: hundredths of a second when it is a time
    qint64 S = 0;            // wash water setting, whole seconds (above 1000 a weight)
    double washCount = 0;    // cycles to run
    double fillBase = 0;     // reading when the weight-measured filling started
    double startWeight = 0;  // reading at the start of the cycle
    double waterGiven = 0;   // water added in the first rinse of each cycle
    int rinseRepeats = 0;
    double watchRef = 0;  // reading one second earlier in the weight watch
    int watchHold = 0;    // seconds the weight watch may not end the wait
    int extraWaterDone = 0;

  private:
    // The actions of one tick after the clock has moved on, in their order.
    enum class Stage {
        Prepare,
        StartCycle,
        Rinse,
        ConveyorOn,
        ExtraWater,
        WeightWatch,
        ConveyorOff,
        RinseEnd,
        EndOfCycle,
        Done
    };

    // Notes a lost link and counts the seconds the controller may run the
    // wash's timed openings.
    void followLink();
    void putBackAfterLinkLoss();
    void runFrom(Stage stage);
    // Each returns false when the wash has parked on a message.
    bool stage(Stage stage);
    void prepare();
    bool startCycle();
    void setUpCycle();
    bool fillByWeight();
    void finishFillByWeight();
    bool rinse();
    void rinseRest();
    void conveyorOn();
    // Extra water for a bucket lighter than `limit`, in the first cycle of a
    // type-1 wash or a wash without the in-bucket water steps.
    bool extraWaterDue(double limit) const;
    void giveExtraWater();
    void extraWater();
    void weightWatch();
    void rinseEnd();
    void endOfCycle();

    // Shows `tag` and, under it, `why` in the station's language, with `code`
    // in MachineStatus.alarm(); `goOn` runs after the operator's OK, unless the
    // wash was stopped meanwhile.
    void park(qint16 code, const QString& tag, const Wording& why, std::function<void()> goOn);
    double reading() const;
    bool gateInUse() const;
    // A timed opening computed by the wash: sent only when above 0, at most
    // 29999 (the longest timed opening; 30000 and above would mean "open
    // until closed").
    void sendTimed(int reg, qint64 hundredths);

    StationState& s_;
    Dialogs& dialogs_;
    BucketTransport& transport_;
    Log log_;
    HeldOutputs outputs_;  // water, gate, conveyor motor and drain as the wash set them
    bool parked_ = false;
    bool filling_ = false;   // a weight-measured filling holds the clock at 8
    int lossesSeen_ = 0;     // link losses counted so far
    bool linkLost_ = false;  // a loss since the last tick that ran
    quint64 generation_ = 0;
};

}  // namespace dye
