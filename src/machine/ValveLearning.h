#pragma once

#include <QDir>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "files/settings/ValveAllowances.h"

namespace dye {

// What one metering measured of its valve, kept until the metering ends
// and learned only from a metering that ended undisturbed.
struct MeteringNotes {
    struct Pulse {
        double seconds;  // the opening commanded
        double delta;    // what it brought, read after the balance settled
    };
    std::vector<Pulse> pulses;
    std::optional<double> stopActual;  // the weight when a long opening was ended
    std::optional<double> fall;        // what arrived after that
    // An alarm, a link loss, an overload, a full bucket or a refusal: the
    // readings of this metering teach nothing about the valve.
    bool disturbed = false;

    void clear() { *this = MeteringNotes{}; }
};

// The learned allowances of the 24 valves: learned from every metering that
// ends undisturbed, kept in VALVE_LEARNED.txt, and asked by the metering
// stations how far ahead to end a long opening, how long to open for what
// remains and when nothing more can be gained. A valve with nothing learned
// is metered by the described rule.
//
// Learning is robust: every measurement outside what the valve can do is
// dropped; the rest move a value by a fixed share of their disagreement
// (forgetting the old, so a drifting valve is followed), clipped to twice
// the value's typical disagreement, so one outlier moves it little.
class ValveLearning {
  public:
    using Log = std::function<void(const QString&)>;
    ValveLearning(QDir workdir, Log log);

    // Reads the learned file (start-up); a torn one is set aside and told.
    void load();
    // Off: every valve is metered by the described rule (nothing is
    // learned or used); for comparisons.
    void setEnabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }

    const ValveAllowanceTable& table() const { return table_; }
    const ValveAllowance& of(int valve) const { return table_[size_t(valve - 1)]; }

    // Learns from the notes of an undisturbed metering of `valve` (table
    // rate `tableRate`) and keeps the result.
    void learn(int valve, double tableRate, const MeteringNotes& notes);
    // Forgets what was learned of `valve` (1..24) and keeps that.
    bool reset(int valve, QString* error = nullptr);

    // The learned pulse model of a valve: rate and dead time, when its rate
    // is known (and learning is on).
    struct PulseModel {
        double rate;
        double dead;
        double rateShare;   // typical disagreement of the rate, as a share of it
        double deadSpread;  // and of the dead time, seconds
        double dose(double seconds) const { return rate * (seconds - dead); }
    };
    std::optional<PulseModel> pulseModel(int valve, double tableRate) const;
    // The pulse model of a valve with no learned rate, from the pulses this
    // metering has already given; none until one was long enough to tell.
    std::optional<PulseModel> meteringModel(const MeteringNotes& notes, double tableRate) const;
    // How far short of the target a long opening is ended: the learned fall
    // and room for its spread; none while the fall is not known.
    std::optional<double> stopAhead(int valve, double tableRate) const;

  private:
    void keep();
    // The valve's allowance when it was learned with this table rate.
    const ValveAllowance* current(int valve, double tableRate) const;

    QDir workdir_;
    Log log_;
    bool enabled_ = true;
    ValveAllowanceTable table_{};
};

// The opening, in seconds, that brings `remaining` with the learned model.
// When its uncertainty could carry it past `tolerance` it is kept short of
// the target, by enough for a finishing pulse longer than the shortest
// opening (`shortestSeconds`).
double learnedPulseSeconds(const ValveLearning::PulseModel& m, double remaining, double tolerance,
                           double shortestSeconds);

// Moves `x` towards `measured` as the learning does (see ValveLearning).
// `floor` is the smallest disagreement taken as typical.
void learnRobust(LearnedValue& x, double measured, double floor);

}  // namespace dye
