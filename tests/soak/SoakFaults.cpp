#include "soak/SoakFaults.h"

#include "sim/SimulatedController.h"
#include "soak/SoakMachine.h"

namespace dye::soak {
namespace {

// What an overloaded balance gets put on it: far beyond its range.
constexpr double kOverloadCounts = 250'000;

bool chance(std::mt19937& random, double p) {
    return std::uniform_real_distribution<double>(0, 1)(random) < p;
}

qint64 between(std::mt19937& random, qint64 from, qint64 to) {
    return std::uniform_int_distribution<qint64>(from, std::max(from, to))(random);
}

}  // namespace

bool SoakFaults::Spell::flip(qint64 ms) {
    const bool want = from >= 0 && ms >= from && ms < from + length;
    if (want == on) return false;
    on = want;
    return true;
}

SoakFaults::SoakFaults(std::mt19937& random, const SoakMachine& m, qint64 shiftMs, bool enabled) {
    // Every draw is made whether the faults are on or not, so that a seed's
    // machine, queue and operator stay the same with --no-faults.
    const bool replies = chance(random, 0.5);
    const double drop = std::uniform_real_distribution<double>(0, 0.02)(random);
    const double cut = std::uniform_real_distribution<double>(0, 0.01)(random);
    const double corrupt = std::uniform_real_distribution<double>(0, 0.01)(random);
    const double late = std::uniform_real_distribution<double>(0, 0.02)(random);
    const bool silent = chance(random, 0.2);
    const Spell silentSpell{between(random, 60'000, shiftMs / 2), between(random, 2'000, 20'000)};
    const bool stuck = chance(random, 0.15);
    const int stuckValve = int(between(random, 1, m.valveCount()));
    const Spell stuckSpell{between(random, 30'000, shiftMs / 2), between(random, 20'000, 120'000)};
    const bool overload = chance(random, 0.15);
    const int overloadBalance = m.twoBalances() ? int(between(random, 1, 2)) : 1;
    const Spell overloadSpell{between(random, 30'000, shiftMs / 2), between(random, 5'000, 60'000)};
    const bool drain = chance(random, 0.15);
    const Spell drainSpell{between(random, 30'000, shiftMs / 2), between(random, 30'000, 300'000)};
    if (!enabled) return;
    if (replies) {
        replies_.dropReplies = drop;
        replies_.shortReplies = cut;
        replies_.corruptReplies = corrupt;
        replies_.lateReplies = late;
    }
    if (silent) {
        silent_ = silentSpell;
    }
    if (stuck) {
        stuck_ = stuckSpell;
        stuckValve_ = stuckValve;
    }
    if (overload) {
        overload_ = overloadSpell;
        overloadBalance_ = overloadBalance;
    }
    if (drain) drain_ = drainSpell;
}

void SoakFaults::applyTo(SimFaults& f) const {
    f.dropReplies = replies_.dropReplies;
    f.shortReplies = replies_.shortReplies;
    f.corruptReplies = replies_.corruptReplies;
    f.lateReplies = replies_.lateReplies;
    f.silent = silent_.on;
    if (stuckValve_ > 0) f.stuckValves[size_t(stuckValve_ - 1)] = stuck_.on;
    f.drainBlocked = drain_.on;
}

void SoakFaults::step(qint64 ms, SimulatedController& sim, QStringList& events) {
    if (silent_.flip(ms)) {
        sim.faults().silent = silent_.on;
        events << (silent_.on ? QStringLiteral("controller silent")
                              : QStringLiteral("controller answers again"));
    }
    if (stuck_.flip(ms)) {
        sim.faults().stuckValves[size_t(stuckValve_ - 1)] = stuck_.on;
        events << QStringLiteral("valve %1 %2")
                      .arg(stuckValve_)
                      .arg(stuck_.on ? "stuck" : "free again");
    }
    if (overload_.flip(ms)) {
        sim.overfillBucket(overloadBalance_, overload_.on ? kOverloadCounts : -kOverloadCounts);
        events << QStringLiteral("balance %1 %2")
                      .arg(overloadBalance_)
                      .arg(overload_.on ? "overloaded" : "load taken off");
    }
    if (drain_.flip(ms)) {
        sim.faults().drainBlocked = drain_.on;
        events << (drain_.on ? QStringLiteral("drain blocked") : QStringLiteral("drain clear"));
    }
}

QString SoakFaults::describe() const {
    QStringList parts;
    if (replies_.dropReplies > 0)
        parts << QStringLiteral("replies dropped %1 cut %2 corrupt %3 late %4")
                     .arg(replies_.dropReplies, 0, 'f', 3)
                     .arg(replies_.shortReplies, 0, 'f', 3)
                     .arg(replies_.corruptReplies, 0, 'f', 3)
                     .arg(replies_.lateReplies, 0, 'f', 3);
    if (silent_.from >= 0)
        parts << QStringLiteral("silent at %1 s for %2 s")
                     .arg(silent_.from / 1000)
                     .arg(silent_.length / 1000);
    if (stuck_.from >= 0)
        parts << QStringLiteral("valve %1 stuck at %2 s for %3 s")
                     .arg(stuckValve_)
                     .arg(stuck_.from / 1000)
                     .arg(stuck_.length / 1000);
    if (overload_.from >= 0)
        parts << QStringLiteral("balance %1 overloaded at %2 s for %3 s")
                     .arg(overloadBalance_)
                     .arg(overload_.from / 1000)
                     .arg(overload_.length / 1000);
    if (drain_.from >= 0)
        parts << QStringLiteral("drain blocked at %1 s for %2 s")
                     .arg(drain_.from / 1000)
                     .arg(drain_.length / 1000);
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral("; "));
}

}  // namespace dye::soak
