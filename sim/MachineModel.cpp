#include "MachineModel.h"

#include <algorithm>
#include <cmath>

#include "sim/RegisterMemory.h"

namespace dye {

void TimedOutput::command(quint16 value, qint64 ms) {
    if (value == 0) {
        if (on(ms)) onUntil = ms;
        return;
    }
    if (!on(ms)) onFrom = ms;
    onUntil = value >= 30000 ? kForever : ms + qint64(value) * 10;
}

MachineModel::MachineModel(const SimOptions& options)
    : options_(options),
      openings_(options.seed * 0xD1B54A32D192ED03ULL + 7),
      noise_(options.seed * 0x9E3779B97F4A7C15ULL + 1) {
    std::mt19937_64 draw(options.seed);
    std::uniform_real_distribution<double> error(-1.0, 1.0);
    for (size_t v = 0; v < trueRates_.size(); ++v)
        trueRates_[v] = options.nominalRates[v] * (1.0 + options.physics.rateError * error(draw));
    // The valves' own characters come from a stream of their own, so that
    // the rates of a seed stay what they were.
    std::mt19937_64 character(options.seed ^ 0x5DEECE66DULL);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // Shares of the physics' valve figures, so that a change to those takes
    // effect at once.
    for (size_t v = 0; v < trueRates_.size(); ++v) {
        valveFall_[v] = unit(character);
        valveNoise_[v] = unit(character);
        valveDrift_[v] = 2.0 * unit(character) - 1.0;
        openingFactor_[v] = 1.0;
    }
    content_ = options.initialLoad;
    for (SimAxis& a : axes_) a.setTravel(options.physics.axisTravel);
    buildFlows();
    running_.reserve(flows_.size());
}

bool MachineModel::outputOn(int d) const {
    return reg::isOutput(d) && output(d).on(now_);
}

void MachineModel::buildFlows() {
    for (int v = 1; v <= 24; ++v) flows_.push_back(Flow{reg::valve(v), 1, v, false});
    flows_.push_back(Flow{reg::WaterValve, 1, 0, false});  // wash and fill water
    flows_.push_back(
        Flow{reg::WaterIn, 1, 0, false});  // water in (twin-balance machine without transport)
    flows_.push_back(Flow{reg::ConveyorMotor, 1, 0, true});  // conveyor motor empties the bucket
    flows_.push_back(Flow{reg::DrainValve, 1, 0, true});     // drain valve (conveyor machine)
}

qint64 MachineModel::flowStart(const Flow& f) const {
    const TimedOutput& o = output(f.output);
    return f.drain ? o.onFrom : o.onFrom + options_.physics.valveOpenLatencyMs;
}

qint64 MachineModel::flowEnd(const Flow& f) const {
    const TimedOutput& o = output(f.output);
    if (o.onUntil >= TimedOutput::kForever || f.drain) return o.onUntil;
    const int runOn = f.valve == 0 ? options_.physics.waterRunOnMs : productRunOn(f);
    return o.onUntil + options_.physics.valveCloseLatencyMs + runOn;
}

// A product valve's pipe runs on by its fall; water through valve 1 does not.
int MachineModel::productRunOn(const Flow& f) const {
    if (f.valve == 0 || (f.valve == 1 && options_.waterOnValve1)) return 0;
    return int(
        std::lround(std::max(0, options_.physics.valveFallMs) * valveFall_[size_t(f.valve - 1)]));
}

int MachineModel::valveFallMs(int valve) const {
    return productRunOn(flows_[size_t(valve - 1)]);
}

double MachineModel::valveFactor(int valve) const {
    const size_t v = size_t(valve - 1);
    const qint64 shift = options_.physics.valveDriftShiftMs;
    const double drift = shift > 0 ? options_.physics.valveDrift * valveDrift_[v] *
                                         std::sin(M_PI / 2.0 * double(now_) / double(shift))
                                   : 0.0;
    return openingFactor_[v] * (1.0 + drift);
}

// Every opening of a product valve flows at its own share of the rate.
void MachineModel::drawOpening(int valve) {
    const size_t v = size_t(valve - 1);
    const double s = std::max(0.0, options_.physics.valveRateNoise) * valveNoise_[v];
    openingFactor_[v] =
        s > 0.0 ? 1.0 + std::uniform_real_distribution<double>(-s, s)(openings_) : 1.0;
}

bool MachineModel::flowing(const Flow& f, qint64 ms) const {
    if (output(f.output).onFrom < 0) return false;
    return flowStart(f) <= ms && ms < flowEnd(f);
}

bool MachineModel::valveFlowing(int valve) const {
    const Flow& f = flows_[size_t(valve - 1)];
    return flowing(f, now_) && flowRate(f) != 0.0;
}

void MachineModel::findEdges() {
    // flowStart and flowEnd of every flow, with the latencies read once.
    const SimPhysics& p = options_.physics;
    const int openLatency = p.valveOpenLatencyMs;
    const int closeLatency = p.valveCloseLatencyMs;
    const int waterRunOn = p.waterRunOnMs;
    qint64 next = std::numeric_limits<qint64>::max();
    running_.clear();
    for (const Flow& f : flows_) {
        const TimedOutput& o = output(f.output);
        if (o.onFrom < 0) continue;
        const qint64 start = f.drain ? o.onFrom : o.onFrom + openLatency;
        const qint64 end =
            o.onUntil >= TimedOutput::kForever || f.drain
                ? o.onUntil
                : o.onUntil + closeLatency + (f.valve == 0 ? waterRunOn : productRunOn(f));
        for (qint64 edge : {start, end})
            if (edge > now_ && edge < next) next = edge;
        if (start <= now_ && now_ < end) running_.push_back(Running{&f, start, 0, 0.0});
    }
    edges_ = Edges{true, next, openLatency, closeLatency, waterRunOn, p.valveFallMs};
}

bool MachineModel::edgesHold() const {
    const SimPhysics& p = options_.physics;
    return edges_.found && now_ < edges_.next && edges_.openLatency == p.valveOpenLatencyMs &&
           edges_.closeLatency == p.valveCloseLatencyMs && edges_.waterRunOn == p.waterRunOnMs &&
           edges_.valveFall == p.valveFallMs;
}

namespace {

// Time at full rate that delivers what an opening gives in its first `ms`
// of flow, with a ramp of `ramp` ms.
inline double ramped(qint64 ms, double ramp) {
    const double t = double(ms);
    if (t <= 0.0) return 0.0;
    if (ramp <= 0.0) return t;
    return t < ramp ? t * t / (2.0 * ramp) : t - ramp / 2.0;
}

}  // namespace

double MachineModel::inflow(size_t b, qint64 from, qint64 to) const {
    const double ramp = options_.physics.valveRampMs;
    double amount = 0.0;
    for (const Running& f : running_) {
        if (f.flow->drain || f.balance != b || f.rate <= 0.0) continue;
        amount += f.rate * (ramped(to - f.start, ramp) - ramped(from - f.start, ramp)) / 1000.0;
    }
    return amount;
}

double MachineModel::drained(double content, double seconds) const {
    const SimPhysics& p = options_.physics;
    const double residual = std::max(0.0, p.drainResidual);
    double excess = content - residual;
    if (excess <= 0.0 || p.drainRate <= 0.0) return content;
    const double tail = p.drainTailMs / 1000.0;
    if (tail <= 0.0) return std::max(residual, content - p.drainRate * seconds);
    // Above the knee the outlet runs full; below it the outflow is
    // proportional to what is left and falls away exponentially.
    const double knee = p.drainRate * tail;
    if (excess > knee) {
        const double full = (excess - knee) / p.drainRate;
        if (full >= seconds) return content - p.drainRate * seconds;
        seconds -= full;
        excess = knee;
    }
    return residual + excess * std::exp(-seconds / tail);
}

void MachineModel::integrate(size_t b, qint64 from, qint64 to) {
    // A balance whose load changes by less than this (counts per second)
    // counts as at rest: the last drops of a drain do not keep it noisy.
    constexpr double kRestRate = 1.0;
    constexpr qint64 kDrainStepMs = 10;
    double& content = content_[b];
    if (!draining_[b]) {
        const double in = inflow(b, from, to);
        content += in;
        if (in > 0.0) lastActive_[b] = to;
        return;
    }
    for (qint64 t = from; t < to;) {
        const qint64 u = std::min(to, t + kDrainStepMs);
        // Half the step's inflow before the drain runs and half after: the
        // content then holds where the outflow equals the inflow, as it does
        // with the rinse water running.
        const double in = inflow(b, t, u);
        const double seconds = double(u - t) / 1000.0;
        const double before = content + in;
        content = drained(content + in / 2.0, seconds) + in / 2.0;
        if (in > 0.0 || before - content > kRestRate * seconds) lastActive_[b] = u;
        t = u;
    }
}

void MachineModel::advanceTo(qint64 ms) {
    while (now_ < ms) {
        // Between two edges the same flows run; what they do is read from
        // the options for every interval, as these may change at any time.
        if (!edgesHold()) findEdges();
        draining_ = {};
        for (Running& r : running_) {
            r.balance = flowBalance(*r.flow);
            r.rate = flowRate(*r.flow);
            if (r.flow->drain && r.rate < 0.0) draining_[r.balance] = true;
        }
        const qint64 next = std::min(ms, edges_.next);
        const double ramp = options_.physics.valveRampMs;
        for (const Running& r : running_)
            if (r.flow->valve > 0 && !r.flow->drain && r.rate > 0.0)
                delivered_[size_t(r.flow->valve - 1)] +=
                    r.rate * (ramped(next - r.start, ramp) - ramped(now_ - r.start, ramp)) / 1000.0;
        for (size_t b = 0; b < 2; ++b) integrate(b, now_, next);
        now_ = next;
    }
}

void MachineModel::addContent(int balance, double counts) {
    content_[index(balance)] = std::max(0.0, content_[index(balance)] + counts);
}

double MachineModel::reading(int balance) const {
    const size_t b = index(balance);
    const double net = options_.physics.bucketTare + content_[b] - tare_[b];
    // Balance 2 of the type-5 machine is a fine balance: ten counts per unit,
    // which the station divides back.
    return options_.machineType == 5 && b == 1 ? net * 10.0 : net;
}

bool MachineModel::laneReady(int lane) const {
    return options_.physics.laneReadyAuto || laneReady_[index(lane)];
}

void MachineModel::note(const QString& what) const {
    if (events_) events_(now_, what);
}

void MachineModel::applyRegister(int d, quint16 value) {
    if (reg::isOutput(d)) {
        const bool was = output(d).on(now_);
        if (value != 0 && !was && d >= reg::valve(1) && d <= reg::valve(24))
            drawOpening(d - reg::valve(0));
        output(d).command(value, now_);
        if (value != 0 || was) waterClosing(d);
        edges_.found = false;  // the edges may have moved
        if ((value != 0 || was) && noting()) note(QStringLiteral("D%1 = %2").arg(d).arg(value));
    }
    if ((d == reg::Tare1 || d == reg::Tare2) && value == 10) {
        const size_t b = d == reg::Tare1 ? 0 : 1;
        tare_[b] = options_.physics.bucketTare + content_[b];
        if (noting()) note(QStringLiteral("tare balance %1").arg(b + 1));
    }
    if (((d >= reg::Phase1 && d <= reg::Phase1 + 2) ||
         (d >= reg::Phase2 && d <= reg::Phase2 + 2)) &&
        value != 0 && noting())
        note(QStringLiteral("phase D%1 = %2").arg(d).arg(value));
    if ((d == reg::Air1 || d == reg::Air2) && value != 0) laneReady_[size_t(d - reg::Air1)] = false;
}

// The two-balance lanes' phase codes: 30 / 30 prepares a lane (its bucket
// ready button is to be pressed again), 40 / 40 asks for a new bucket and 5
// ends the job; on either the bucket is taken off the balance and an empty
// one put in its place.
void MachineModel::applyLanePhase(int lane, quint16 first, quint16 second) {
    if (options_.machineType != 2 && options_.machineType != 5) return;
    const size_t b = index(lane);
    const bool newBucket = first == 5 || (first == 40 && second == 40);
    if (newBucket) {
        content_[b] = 0.0;
        lastActive_[b] = now_;
        edges_.found = false;
        if (noting()) note(QStringLiteral("new bucket on balance %1").arg(lane));
    }
    if (newBucket || (first == 30 && second == 30)) laneReady_[b] = false;
}

// A water pipe's closing, once it is set (a timed opening or a 0), comes
// later by the pipe's own run-on beyond the valve: the stream keeps running
// at its rate until then.
void MachineModel::waterClosing(int d) {
    const bool valve1 = d == reg::valve(1) && options_.waterOnValve1;
    if (d != reg::WaterValve && d != reg::WaterIn && !valve1) return;
    TimedOutput& o = output(d);
    if (o.onFrom < 0 || o.onUntil >= TimedOutput::kForever || o.onUntil < now_) return;
    if (!waterRunOns_) waterRunOns_.emplace(options_.seed * 0xA24BAED4963EE407ULL + 3);
    const SimPhysics& p = options_.physics;
    const int spread = std::max(0, p.waterRunOnSpreadMs);
    const qint64 extra = std::uniform_int_distribution<int>(0, spread)(*waterRunOns_) +
                         (valve1 ? std::max(0, p.valve1WaterRunOnMs) : 0);
    o.onUntil += extra;
}

void MachineModel::applyAxis(const RegisterMemory& memory, Axis a, int first) {
    SimAxis& axis = axes_[a];
    axis.setTravel(options_.physics.axisTravel);
    const int direction = memory.get(first);
    if (direction == 0) return;  // the block carried no command for this axis
    axis.command(direction, memory.get(first + 1), memory.get(first + 2), memory.get(first + 3),
                 now_);
    if (!noting()) return;
    note(QStringLiteral("axis %1: %2 %3 %4 %5")
             .arg(QLatin1Char("YXZ"[a]))
             .arg(direction)
             .arg(memory.get(first + 1))
             .arg(memory.get(first + 2))
             .arg(memory.get(first + 3)));
}

void MachineModel::applyWrite(const RegisterMemory& memory, int first, int n) {
    for (int d = first; d < first + n; ++d) applyRegister(d, memory.get(d));
    for (int lane : {1, 2}) {
        const int phase = lane == 1 ? reg::Phase1 : reg::Phase2;
        if (first <= phase + 1 && phase < first + n)
            applyLanePhase(lane, memory.get(phase), memory.get(phase + 1));
    }
    constexpr std::array<int, 3> kBlocks = {reg::AxisY, reg::AxisX, reg::AxisZ};
    for (int a = 0; a < 3; ++a) {
        const int b = kBlocks[size_t(a)];
        if (first < b + 4 && b < first + n) applyAxis(memory, Axis(a), b);
    }
}

void MachineModel::publish(RegisterMemory& memory) {
    for (int balance = 1; balance <= 2; ++balance) {
        const size_t b = index(balance);
        double r = reading(balance);
        // Full noise while the load changes, fading to the rest noise over
        // the settling time after.
        const SimPhysics& p = options_.physics;
        const qint64 since = now_ - lastActive_[b];
        double settling = 0.0;
        if (since <= 0)
            settling = 1.0;
        else if (p.settleMs > 0 && since < p.settleMs)
            settling = 1.0 - double(since) / p.settleMs;
        const double amplitude = std::max(p.restNoiseCounts, p.noiseCounts * settling);
        if (amplitude > 0.0)
            r += std::uniform_real_distribution<double>(-amplitude, amplitude)(noise_);
        const double rounded = std::clamp(std::round(r), -2147483647.0, 2147483647.0);
        // The weight register holds the magnitude; the sign word tells the sign.
        memory.set32(reg::Weight1 + 2 * int(b), qint32(std::abs(rounded)));
        memory.set(reg::SignWord1 + int(b), rounded < 0 ? 43 : 45);
    }
    memory.set32(194, 0);
    memory.set32(196, 0);
    memory.set(reg::LaneReady1, laneReady(1) ? 1 : 0);
    memory.set(reg::LaneReady2, laneReady(2) ? 1 : 0);
    memory.set(278, 0);
    const SimAxis& z = axes_[AxisZ];
    memory.set(reg::PipeHeadDown,
               !z.busy(now_) && z.position(now_) >= options_.physics.pipeDownZ ? 1 : 0);
    memory.set(reg::FirstSwitch, outputOn(reg::ConveyorMotor) ? 1 : 0);
    memory.set(reg::FirstSwitch + 1, outputOn(reg::WaterValve) ? 1 : 0);
    memory.set(reg::FirstSwitch + 2, outputOn(reg::GateValve) ? 1 : 0);
    for (int a = 0; a < 3; ++a) {
        const SimAxis& axis = axes_[size_t(a)];
        memory.set(reg::YBusy + 3 * a, axis.busy(now_) ? 1 : 0);
        memory.set(reg::YBusy + 1 + 3 * a, axis.atHome(now_) ? 1 : 0);
        memory.set(reg::YBusy + 2 + 3 * a, axis.atLimit(now_) ? 1 : 0);
    }
}

}  // namespace dye
