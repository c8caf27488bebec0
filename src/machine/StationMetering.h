#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

#include "link/Registers.h"
#include "machine/ValveLearning.h"

namespace dye {

class Dialogs;
struct MeteringStation;
struct StationPanel;
struct StationState;

// The two metering stations on Form2.Timer2 (100 ms): one tick handles
// station 1 and then station 2. A metering brings a balance from its zero to
// a target through one valve: a long opening stopped short of the target,
// then timed pulses computed from the valve's rate and corrected by what the
// previous pulse delivered.
//
// An alarm parks only the station that raised it: its status code stays in
// MachineStatus.alarm() and its steps stand still until the operator acknowledges
// the message, then it goes on where the sequence says. The other station
// keeps metering meanwhile, and a parked station never has a valve held
// open (a no-flow alarm comes after the valve was ended, a pulse ends by
// itself).
//
// Each valve's learned allowance (ValveLearning), once there is one, takes
// over from the described rule: the long opening ends ahead of the target by
// the valve's learned fall, a pulse is as long as the learned rate and dead
// time say what remains needs, and a metering goes on while a pulse can
// still bring it clearly nearer its target. An undisturbed metering teaches
// the valve's allowance when it ends.
class StationMetering {
  public:
    using Log = std::function<void(const QString&)>;
    StationMetering(StationState& state, Dialogs& dialogs, ValveLearning& learning, Log log);

    void tick();
    // What "stop the job" at a no-flow alarm does (the run's STOP).
    void setStopJob(std::function<void()> stop) { stopJob_ = std::move(stop); }

  private:
    // The valve of a metering (the job's row or the manual metering's
    // choice) and its rate, read from the valve table at the moment of use.
    struct Valve {
        int number = 0;
        double rate = 0;
        int reg() const { return dye::reg::valve(number); }
    };

    void runStation(const StationPanel& p);
    void takeZero(const StationPanel& p, MeteringStation& st);                  // step 1
    void settle(const StationPanel& p, MeteringStation& st);                    // step 2
    void chooseMethod(const StationPanel& p, MeteringStation& st, Valve v);     // step 3
    void openLong(const StationPanel& p, MeteringStation& st, Valve v);         // step 4
    void longOpeningRuns(const StationPanel& p, MeteringStation& st, Valve v);  // step 5
    void computePulse(const StationPanel& p, MeteringStation& st, Valve v);     // step 6
    void pulseRuns(const StationPanel& p, MeteringStation& st, Valve v);        // step 7
    void end(const StationPanel& p, MeteringStation& st);                       // step 8

    // The station's valve, or a refusal (message, log line, back to step 0)
    // when it cannot be metered: no such valve, or no rate in the table.
    bool meterable(const StationPanel& p, MeteringStation& st, Valve& v);
    void refuse(const StationPanel& p, MeteringStation& st, const QString& valve, bool noSuchValve);

    // Parks the station with `code` in MachineStatus.alarm() and shows `text`; the
    // acknowledgement clears the code and runs `then`, unless the station was
    // stopped or restarted meanwhile.
    void raiseAlarm(const StationPanel& p, int code, const QString& text,
                    std::function<void()> then);
    // The same, offering `choices`: `then` gets the one chosen.
    void raiseChoice(const StationPanel& p, int code, const QString& text,
                     const QStringList& choices, std::function<void(int)> then);
    void noFlowAlarm(const StationPanel& p, int code, int valve);

    double tolerance(const StationPanel& p) const;
    double jobTolerance(const MeteringStation& st) const;
    bool reached(const StationPanel& p, const MeteringStation& st, Valve v) const;
    // The pulse for what remains, in hundredths (before the minimum time).
    int nextPulse(const StationPanel& p, const MeteringStation& st, Valve v) const;
    std::optional<ValveLearning::PulseModel> pulseModel(const StationPanel& p, Valve v) const;
    // The notes the learning takes from this metering (StationLearning.cpp).
    MeteringNotes& notes(const StationPanel& p);
    void noteSettled(const StationPanel& p, const MeteringStation& st, double actual);
    void noteLastPulse(const StationPanel& p, const MeteringStation& st, double delta);
    void learnFrom(const StationPanel& p, const MeteringStation& st);
    double longOpeningAhead(Valve v) const;
    void watchOverload(const StationPanel& p);
    double showActual(const StationPanel& p);
    void resumeAfterLinkLoss(const StationPanel& p, MeteringStation& st);
    void log(const StationPanel& p, const QString& text) const;

    StationState& s_;
    Dialogs& dialogs_;
    ValveLearning& learning_;
    Log log_;
    std::function<void()> stopJob_;
    std::array<MeteringNotes, 3> notes_{};
    // Per station ([1], [2]): which alarm the station is parked in (so that a
    // late acknowledgement of an alarm the stop has cleared does nothing),
    // the code it holds, and the register of the last opening it commanded.
    std::array<int, 3> alarmSerial_{};
    std::array<int, 3> alarmCode_{};
    std::array<int, 3> openedRegister_{};
    std::array<bool, 3> overloadShown_{};
};

// Starts a metering on station 1 or 2: valve, zero (the balance reading, or
// "0" while the station holds its zero), target, then step 1. What the run
// and the manual target entries do.
// `row` is the job's row (0-based), -1 for a metering by hand.
void startMetering(StationState& state, int station, int valve, const QString& target,
                   int row = -1);

}  // namespace dye
