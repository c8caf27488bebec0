#pragma once

#include <QString>

#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "link/Registers.h"
#include "sim/SimAxis.h"
#include "sim/SimOptions.h"

namespace dye {

class RegisterMemory;

// An output switched by register values: 1..29999 turns it on for that many
// hundredths of a second, 30000 and above turns it on until a 0 arrives, 0
// turns it off.
struct TimedOutput {
    static constexpr qint64 kForever = std::numeric_limits<qint64>::max() / 4;
    qint64 onFrom = -1;
    qint64 onUntil = -1;

    bool on(qint64 ms) const { return onFrom >= 0 && onFrom <= ms && ms < onUntil; }
    void command(quint16 value, qint64 ms);
};

// The machine behind the controller: two balances, the valves and water
// that pour into them, the drains that empty bucket 1, the other outputs, the
// three gantry axes and the lane ready buttons. Time is in milliseconds and
// only moves forward. Inflows (with their opening ramp) are integrated
// exactly between the moments an output starts or stops; while a drain runs
// the bucket is followed in short steps, since what it carries off depends on
// what is left.
class MachineModel {
  public:
    enum Axis { AxisY = 0, AxisX = 1, AxisZ = 2 };
    using EventSink = std::function<void(qint64 ms, const QString& what)>;

    // Keeps a reference to `options`: a change to its physics or faults takes
    // effect at once.
    explicit MachineModel(const SimOptions& options);

    qint64 now() const { return now_; }
    void advanceTo(qint64 ms);

    // A write frame has set registers first..first+n-1 of `memory`; acts on
    // each (outputs, axis command blocks, tare and phase commands).
    void applyWrite(const RegisterMemory& memory, int first, int n);
    // Stores everything the controller reports into `memory`: weights, sign
    // words, ready buttons, pipe head, switches and busy flags.
    void publish(RegisterMemory& memory);

    // The balance reading (1 or 2) as the controller reports it, without noise.
    double reading(int balance) const;
    // What is in the bucket on a balance, in counts.
    double content(int balance) const { return content_[index(balance)]; }
    void addContent(int balance, double counts);
    // What valve 1..24 has let through since the start, in counts (a flow
    // meter on the valve): the soak's check that nothing is poured twice.
    double delivered(int valve) const { return delivered_[size_t(valve - 1)]; }
    int valveBalance(int valve) const;
    // The valve's rate as drawn (or set), without its noise and drift.
    double trueRate(int valve) const { return trueRates_[size_t(valve - 1)]; }
    // What the valve's pipe lets run on after it closes, in milliseconds.
    int valveFallMs(int valve) const;
    void setTrueRate(int valve, double rate) { trueRates_[size_t(valve - 1)] = rate; }
    bool outputOn(int d) const;
    bool valveFlowing(int valve) const;
    const SimAxis& axis(Axis a) const { return axes_[a]; }
    SimAxis& axis(Axis a) { return axes_[a]; }
    void pressLaneReady(int lane) { laneReady_[index(lane)] = true; }
    bool laneReady(int lane) const;
    void setEventSink(EventSink sink) { events_ = std::move(sink); }

  private:
    static constexpr int kFirstOutput = 800;
    static constexpr int kLastOutput = 999;
    // Something that changes a balance's content while its output is on.
    struct Flow {
        int output;  // register number
        int balance;
        int valve;  // 1..24 for a product valve, 0 otherwise
        bool drain;
    };
    static size_t index(int balanceOrLane) { return balanceOrLane == 2 ? 1 : 0; }
    const TimedOutput& output(int d) const { return outputs_[size_t(d - kFirstOutput)]; }
    TimedOutput& output(int d) { return outputs_[size_t(d - kFirstOutput)]; }
    void buildFlows();
    double flowRate(const Flow& f) const;
    size_t flowBalance(const Flow& f) const;
    bool flowing(const Flow& f, qint64 ms) const;
    // Finds the flows running at now_ and the first moment after it at
    // which a flow starts or stops (the edge).
    void findEdges();
    // The flows and the edge findEdges found still hold: no output has been
    // commanded since, the latencies that place the edges are the same, and
    // now_ has not reached the edge.
    bool edgesHold() const;
    // What the running flows into balance b deliver over [from, to), which
    // lies between two edges.
    double inflow(size_t b, qint64 from, qint64 to) const;
    // The content left of `content` after the drain has run for `seconds`.
    double drained(double content, double seconds) const;
    void integrate(size_t b, qint64 from, qint64 to);
    qint64 flowStart(const Flow& f) const;
    qint64 flowEnd(const Flow& f) const;
    int productRunOn(const Flow& f) const;
    void applyRegister(int d, quint16 value);
    void applyAxis(const RegisterMemory& memory, Axis a, int first);
    void applyLanePhase(int lane, quint16 first, quint16 second);
    bool noting() const { return bool(events_); }
    void note(const QString& what) const;

    const SimOptions& options_;
    qint64 now_ = 0;
    std::array<TimedOutput, kLastOutput - kFirstOutput + 1> outputs_{};
    std::vector<Flow> flows_;
    // A flow running from now_ up to the edge, and what it does there (its
    // balance and rate, from the options as they are at each interval).
    struct Running {
        const Flow* flow;
        qint64 start;
        size_t balance;
        double rate;
    };
    std::vector<Running> running_;  // in the order of flows_
    // Whether a running drain can carry anything off balance b (1 or 2 at
    // index 0 or 1), for the interval under way.
    std::array<bool, 2> draining_{};
    struct Edges {
        bool found = false;
        qint64 next = 0;
        int openLatency = 0;
        int closeLatency = 0;
        int waterRunOn = 0;
        int valveFall = 0;
    };
    Edges edges_;
    std::array<double, 24> trueRates_{};
    // Per valve, drawn once: its shares of the physics' fall, opening noise
    // and drift (the drift signed); and the factor of the opening under way.
    std::array<double, 24> valveFall_{};
    std::array<double, 24> valveNoise_{};
    std::array<double, 24> openingFactor_{};
    std::array<double, 24> valveDrift_{};
    std::mt19937_64 openings_;
    double valveFactor(int valve) const;
    void drawOpening(int valve);
    std::array<double, 24> delivered_{};
    std::array<double, 2> content_{};
    std::array<double, 2> tare_{};
    // The last moment each balance's load was changing (noise and settling).
    static constexpr qint64 kNever = std::numeric_limits<qint64>::min() / 4;
    std::array<qint64, 2> lastActive_{kNever, kNever};
    std::array<bool, 2> laneReady_{};
    std::array<SimAxis, 3> axes_;
    std::mt19937_64 noise_;
    EventSink events_;
    // The water pipes' run-on beyond the valve: drawn for every closing.
    void waterClosing(int d);
    std::optional<std::mt19937_64> waterRunOns_;
};

// Asked for every running flow at every interval: kept where they can be inlined.
inline int MachineModel::valveBalance(int valve) const {
    const int fixed = options_.valveBalance[size_t(valve - 1)];
    if (fixed == 1 || fixed == 2) return fixed;
    if (options_.waterOnValve1 && valve == 1) return 1;
    if (options_.machineType == 2 || options_.machineType == 5) {
        int n = options_.valvesPerStation;
        if (n <= 0) n = 5;  // the station's own default for an empty setting
        return valve <= n ? 1 : 2;
    }
    return 1;
}

inline double MachineModel::flowRate(const Flow& f) const {
    if (f.drain) {
        // The drain valve only exists on the conveyor machine.
        if (f.output == reg::DrainValve && options_.machineType != 4) return 0.0;
        if (options_.faults.drainBlocked) return 0.0;
        return -options_.physics.drainRate;
    }
    if (f.valve == 0 || (f.valve == 1 && options_.waterOnValve1)) return options_.physics.waterRate;
    if (options_.faults.stuckValves[size_t(f.valve - 1)]) return 0.0;
    return trueRates_[size_t(f.valve - 1)] * valveFactor(f.valve);
}

inline size_t MachineModel::flowBalance(const Flow& f) const {
    return index(f.valve ? valveBalance(f.valve) : f.balance);
}

}  // namespace dye
