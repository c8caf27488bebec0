#include "SimCommandLine.h"

#include <cmath>
#include <limits>

namespace dye {

namespace {

using Edit = SimCommandLine::Edit;
using Parse = std::function<Edit(const QStringList&)>;

constexpr double kUnbounded = std::numeric_limits<double>::max();

bool toNumber(const QString& text, double* out) {
    bool ok = false;
    *out = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*out);
}

// A number in [lo, hi]; the last occurrence counts.
Parse number(double lo, double hi, std::function<void(SimOptions&, double)> set) {
    return [=](const QStringList& values) -> Edit {
        double x = 0.0;
        if (!toNumber(values.last(), &x) || x < lo || x > hi) return {};
        return [set, x](SimOptions& o) { set(o, x); };
    };
}

// A whole number in [lo, hi].
Parse whole(qint64 lo, qint64 hi, std::function<void(SimOptions&, qint64)> set) {
    return [=](const QStringList& values) -> Edit {
        bool ok = false;
        const qint64 n = values.last().trimmed().toLongLong(&ok);
        if (!ok || n < lo || n > hi) return {};
        return [set, n](SimOptions& o) { set(o, n); };
    };
}

Parse fraction(std::function<void(SimOptions&, double)> set) {
    return number(0.0, 1.0, std::move(set));
}

Parse onSwitch(std::function<void(SimOptions&)> set) {
    return [set](const QStringList&) -> Edit { return set; };
}

// "B:COUNTS", B 1 or 2, counts 0 or more.
Parse balanceAmount(std::function<void(SimOptions&, size_t, double)> set) {
    return [set](const QStringList& values) -> Edit {
        const QStringList parts = values.last().split(':');
        if (parts.size() != 2) return {};
        bool ok = false;
        const int balance = parts[0].trimmed().toInt(&ok);
        double counts = 0.0;
        if (!ok || (balance != 1 && balance != 2) || !toNumber(parts[1], &counts) || counts < 0)
            return {};
        const size_t b = size_t(balance - 1);
        return [set, b, counts](SimOptions& o) { set(o, b, counts); };
    };
}

// Valve numbers 1..24, each occurrence one number or a comma list.
Parse valveList() {
    return [](const QStringList& values) -> Edit {
        std::array<bool, 24> stuck{};
        for (const QString& v : values.join(',').split(',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int valve = v.trimmed().toInt(&ok);
            if (!ok || valve < 1 || valve > 24) return {};
            stuck[size_t(valve - 1)] = true;
        }
        return [stuck](SimOptions& o) {
            for (size_t i = 0; i < stuck.size(); ++i)
                if (stuck[i]) o.faults.stuckValves[i] = true;
        };
    };
}

qint64 secondsToMs(double s) {
    return qint64(std::llround(s * 1000.0));
}

}  // namespace

std::vector<SimCommandLine::Entry> SimCommandLine::table() {
    // Times in ms and seconds are bounded so that their microseconds fit.
    constexpr double kMaxMs = 1e6;
    constexpr double kMaxSeconds = 1e9;
    return {
        {"type", "n", "Machine type 1..5 (default: settings record 6 of --workdir, else 1).", true,
         whole(1, 5, [](SimOptions& o, qint64 n) { o.machineType = int(n); })},
        {"valves-per-station", "n",
         "Valves of station 1 on twin-balance machines (default: settings record 12, else 12).",
         true, whole(0, 24, [](SimOptions& o, qint64 n) { o.valvesPerStation = int(n); })},
        {"seed", "n", "Seed of the rate errors, noise and fault draws (default 1).", true,
         whole(0, std::numeric_limits<qint64>::max(),
               [](SimOptions& o, qint64 n) { o.seed = quint64(n); })},
        {"rate-error", "f", "Largest relative error of a valve's true rate (default 0.05).", false,
         fraction([](SimOptions& o, double x) { o.physics.rateError = x; })},
        {"noise", "counts", "Balance noise in counts while disturbed (default 2).", false,
         number(0, kUnbounded, [](SimOptions& o, double x) { o.physics.noiseCounts = x; })},
        {"bucket-tare", "counts",
         "Weight of an empty bucket on each balance before a tare (default 800).", false,
         number(0, kUnbounded, [](SimOptions& o, double x) { o.physics.bucketTare = x; })},
        {"water-rate", "rate", "Water valve rate, counts per second (default 500).", false,
         number(0, kUnbounded, [](SimOptions& o, double x) { o.physics.waterRate = x; })},
        {"drain-rate", "rate", "Emptying rate of bucket 1, counts per second (default 3000).",
         false, number(0, kUnbounded, [](SimOptions& o, double x) { o.physics.drainRate = x; })},
        {"drain-residual", "counts", "What a drained bucket keeps, counts (default 10).", false,
         number(0, kUnbounded, [](SimOptions& o, double x) { o.physics.drainResidual = x; })},
        {"drain-tail-ms", "ms", "Time constant of a drain's slowing tail (default 1000).", false,
         whole(0, qint64(kMaxMs), [](SimOptions& o, qint64 n) { o.physics.drainTailMs = int(n); })},
        {"settle-ms", "ms", "Time the balance noise takes to fade after a flow (default 500).",
         false,
         whole(0, qint64(kMaxMs), [](SimOptions& o, qint64 n) { o.physics.settleMs = int(n); })},
        {"ramp-ms", "ms", "Time an opening valve takes to reach its full rate (default 20).", false,
         whole(0, qint64(kMaxMs), [](SimOptions& o, qint64 n) { o.physics.valveRampMs = int(n); })},
        {"water-run-on-ms", "ms", "Time the water runs on after its valve closes (default 4000).",
         false,
         whole(0, qint64(kMaxMs),
               [](SimOptions& o, qint64 n) { o.physics.waterRunOnMs = int(n); })},
        {"latency-ms", "ms", "Time to the first character of an answer (default 3).", false,
         number(0, kMaxMs,
                [](SimOptions& o, double x) { o.physics.replyLatencyUs = int(x * 1000.0); })},
        {"water-on-valve1", "", "Water goes through valve 1 (D851) instead of D985.", false,
         onSwitch([](SimOptions& o) { o.waterOnValve1 = true; })},
        {"load", "B:counts", "Content already in the bucket on balance B.", false,
         balanceAmount([](SimOptions& o, size_t b, double c) { o.initialLoad[b] = c; })},
        {"drop", "f", "Fraction of replies lost.", false,
         fraction([](SimOptions& o, double x) { o.faults.dropReplies = x; })},
        {"short", "f", "Fraction of replies cut short.", false,
         fraction([](SimOptions& o, double x) { o.faults.shortReplies = x; })},
        {"corrupt", "f", "Fraction of replies with one character changed.", false,
         fraction([](SimOptions& o, double x) { o.faults.corruptReplies = x; })},
        {"late", "f", "Fraction of replies sent late (by the late-ms option).", false,
         fraction([](SimOptions& o, double x) { o.faults.lateReplies = x; })},
        {"late-ms", "ms", "Extra delay of a late reply (default 200).", false,
         number(0, kMaxMs,
                [](SimOptions& o, double x) { o.faults.lateReplyUs = qint64(x * 1000.0); })},
        {"silent", "", "The controller neither hears nor answers.", false,
         onSwitch([](SimOptions& o) { o.faults.silent = true; })},
        {"silent-after", "seconds",
         "The controller goes silent (neither hears nor answers) this long after its start "
         "(with dyestation --simulate: at this station time).",
         false,
         number(0, kMaxSeconds,
                [](SimOptions& o, double s) { o.faults.silentFromMs = secondsToMs(s); })},
        {"silent-for", "seconds",
         "The silent controller answers again after this long (default: it stays silent; "
         "without silent-after it is silent from the start).",
         false,
         number(0, kMaxSeconds,
                [](SimOptions& o, double s) {
                    if (o.faults.silentFromMs < 0) o.faults.silentFromMs = 0;
                    o.faults.silentForMs = secondsToMs(s);
                })},
        {"drain-blocked", "", "The bucket does not empty when the drain runs.", false,
         onSwitch([](SimOptions& o) { o.faults.drainBlocked = true; })},
        {"stuck", "valve",
         "Valve that opens but lets nothing through (repeatable, or a comma list).", false,
         valveList()},
        {"lane-ready", "mode",
         "The lanes' bucket ready buttons: auto (always pressed, the default) or manual (held "
         "until pressed: SIGUSR1 presses lane 1, SIGUSR2 lane 2, to dyesim or dyestation "
         "--simulate).",
         false,
         [](const QStringList& values) -> Edit {
             const QString mode = values.value(values.size() - 1);
             if (mode != QLatin1String("auto") && mode != QLatin1String("manual")) return {};
             const bool automatic = mode == QLatin1String("auto");
             return [automatic](SimOptions& o) { o.physics.laneReadyAuto = automatic; };
         }},
        {"overfull", "B:counts", "Puts counts into bucket B at start: an overfull bucket.", false,
         balanceAmount([](SimOptions& o, size_t b, double c) { o.initialLoad[b] += c; })},
    };
}

SimCommandLine::SimCommandLine(QString prefix, bool standalone)
    : prefix_(std::move(prefix)), standalone_(standalone) {}

void SimCommandLine::addOptions(QCommandLineParser& parser) const {
    for (const Entry& e : table()) {
        if (e.standaloneOnly && !standalone_) continue;
        if (e.valueName.isEmpty())
            parser.addOption(QCommandLineOption(prefix_ + e.name, e.help));
        else
            parser.addOption(QCommandLineOption(prefix_ + e.name, e.help, e.valueName));
    }
}

bool SimCommandLine::read(const QCommandLineParser& parser, QString* error) {
    for (const Entry& e : table()) {
        if (e.standaloneOnly && !standalone_) continue;
        const QString name = prefix_ + e.name;
        if (!parser.isSet(name)) continue;
        const QStringList values = e.valueName.isEmpty() ? QStringList() : parser.values(name);
        Edit edit = e.parse(values);
        if (!edit) {
            *error = QStringLiteral("--%1 cannot take \"%2\"").arg(name, values.join(' '));
            return false;
        }
        edits_.push_back(std::move(edit));
        if (firstSet_.isEmpty()) firstSet_ = QStringLiteral("--") + name;
    }
    return true;
}

void SimCommandLine::applyTo(SimOptions& options) const {
    for (const Edit& edit : edits_) edit(options);
}

SimCommandLine::Edit SimCommandLine::edit() const {
    if (edits_.empty()) return {};
    return [edits = edits_](SimOptions& options) {
        for (const Edit& e : edits) e(options);
    };
}

}  // namespace dye
