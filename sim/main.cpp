// dyesim: the controller simulator on a pseudo-terminal.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <atomic>
#include <csignal>

#include "sim/PtyServer.h"
#include "sim/SimulatedController.h"

using namespace dye;

namespace {

std::atomic<bool> stopRequested{false};

void onSignal(int) {
    stopRequested.store(true);
}

// "B:COUNTS" with B 1 or 2.
bool parseBalanceAmount(const QString& text, int* balance, double* counts) {
    const QStringList parts = text.split(':');
    bool ok1 = false, ok2 = false;
    if (parts.size() != 2) return false;
    *balance = parts[0].toInt(&ok1);
    *counts = parts[1].toDouble(&ok2);
    return ok1 && ok2 && (*balance == 1 || *balance == 2);
}

bool parseRate(const QCommandLineParser& p, const QString& name, double* out) {
    if (!p.isSet(name)) return true;
    bool ok = false;
    *out = p.value(name).toDouble(&ok);
    return ok && *out >= 0.0;
}

bool parseInt(const QCommandLineParser& p, const QString& name, int* out) {
    if (!p.isSet(name)) return true;
    bool ok = false;
    *out = p.value(name).toInt(&ok);
    return ok;
}

// The simulator's options from the command line; false on a value that
// does not parse.
bool readOptions(const QCommandLineParser& p, SimOptions& sim) {
    if (p.isSet("workdir")) {
        loadValveRates(p.value("workdir"), sim);
        loadMachineSettings(p.value("workdir"), sim);
    }
    double latencyMs = sim.physics.replyLatencyUs / 1000.0;
    double lateMs = double(sim.faults.lateReplyUs) / 1000.0;
    double seed = double(sim.seed);
    bool ok = parseInt(p, "type", &sim.machineType) &&
              parseInt(p, "valves-per-station", &sim.valvesPerStation) &&
              parseRate(p, "rate-error", &sim.physics.rateError) &&
              parseRate(p, "noise", &sim.physics.noiseCounts) &&
              parseRate(p, "bucket-tare", &sim.physics.bucketTare) &&
              parseRate(p, "water-rate", &sim.physics.waterRate) &&
              parseRate(p, "drain-rate", &sim.physics.drainRate) &&
              parseRate(p, "drain-residual", &sim.physics.drainResidual) &&
              parseInt(p, "drain-tail-ms", &sim.physics.drainTailMs) &&
              parseInt(p, "settle-ms", &sim.physics.settleMs) &&
              parseInt(p, "ramp-ms", &sim.physics.valveRampMs) &&
              parseInt(p, "water-run-on-ms", &sim.physics.waterRunOnMs) &&
              parseRate(p, "latency-ms", &latencyMs) &&
              parseRate(p, "drop", &sim.faults.dropReplies) &&
              parseRate(p, "short", &sim.faults.shortReplies) &&
              parseRate(p, "corrupt", &sim.faults.corruptReplies) &&
              parseRate(p, "late", &sim.faults.lateReplies) && parseRate(p, "late-ms", &lateMs) &&
              parseRate(p, "seed", &seed);
    sim.physics.replyLatencyUs = int(latencyMs * 1000.0);
    sim.faults.lateReplyUs = qint64(lateMs * 1000.0);
    sim.seed = quint64(seed);
    sim.waterOnValve1 = p.isSet("water-on-valve1");
    sim.faults.silent = p.isSet("silent");
    sim.faults.drainBlocked = p.isSet("drain-blocked");
    for (const QString& v : p.values("stuck").join(',').split(',', Qt::SkipEmptyParts)) {
        bool valid = false;
        const int valve = v.toInt(&valid);
        if (!valid || valve < 1 || valve > 24) return false;
        sim.faults.stuckValves[size_t(valve - 1)] = true;
    }
    if (p.isSet("load")) {
        int balance = 0;
        double counts = 0.0;
        if (!parseBalanceAmount(p.value("load"), &balance, &counts)) return false;
        sim.initialLoad[size_t(balance - 1)] = counts;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dyesim"));
    QTextStream err(stderr);
    QTextStream out(stdout);

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Simulates the dispensing machine's controller on a pseudo-terminal.\n"
        "It answers the station's read and write frames at 19200,E,7,1 and runs a\n"
        "model of the machine (balances, valves, water, drain, axes) on the real\n"
        "clock. The terminal's device is linked at LINK; open LINK as the station's\n"
        "port. Stop with Ctrl-C or SIGTERM (the link is removed)."));
    p.addHelpOption();
    const std::vector<QCommandLineOption> options = {
        {"pty", "Serve on a pseudo-terminal linked at <link> (required).", "link"},
        {"type", "Machine type 1..5 (default: settings record 6 of --workdir, else 1).", "n"},
        {"valves-per-station",
         "Valves of station 1 on twin-balance machines (default: settings record 12, else 12).",
         "n"},
        {"workdir",
         "Station directory: nominal valve rates from AA_Name.txt, type and valves per station "
         "from JUCIsetting.txt.",
         "dir"},
        {"rate-error", "Largest relative error of a valve's true rate (default 0.05).", "f"},
        {"noise", "Balance noise in counts while disturbed (default 2).", "counts"},
        {"bucket-tare", "Weight of an empty bucket on each balance before a tare (default 800).",
         "counts"},
        {"water-rate", "Water valve rate, counts per second (default 500).", "rate"},
        {"drain-rate", "Emptying rate of bucket 1, counts per second (default 3000).", "rate"},
        {"drain-residual", "What a drained bucket keeps, counts (default 10).", "counts"},
        {"drain-tail-ms", "Time constant of a drain's slowing tail (default 1000).", "ms"},
        {"settle-ms", "Time the balance noise takes to fade after a flow (default 500).", "ms"},
        {"ramp-ms", "Time an opening valve takes to reach its full rate (default 20).", "ms"},
        {"water-run-on-ms", "Time the water runs on after its valve closes (default 4000).", "ms"},
        {"latency-ms", "Time to the first character of an answer (default 3).", "ms"},
        {"water-on-valve1", "Water goes through valve 1 (D851) instead of D985."},
        {"load", "Content already in the bucket on balance B.", "B:counts"},
        {"drop", "Fraction of replies lost.", "f"},
        {"short", "Fraction of replies cut short.", "f"},
        {"corrupt", "Fraction of replies with one character changed.", "f"},
        {"late", "Fraction of replies sent --late-ms later.", "f"},
        {"late-ms", "Extra delay of a late reply (default 200).", "ms"},
        {"silent", "The controller neither hears nor answers."},
        {"drain-blocked", "The bucket does not empty when the drain runs."},
        {"stuck", "Valve that opens but lets nothing through (repeatable, or a comma list).",
         "valve"},
        {"overfull", "Puts counts into bucket B at start: an overfull bucket.", "B:counts"},
        {"seed", "Seed of the rate errors, noise and fault draws (default 1).", "n"},
        {"verbose", "Print every command the machine acts on."},
    };
    for (const QCommandLineOption& o : options) p.addOption(o);
    p.process(app);

    if (!p.isSet("pty")) {
        err << "dyesim: --pty LINK is required (see --help)\n";
        return 2;
    }
    SimOptions sim;
    if (!readOptions(p, sim)) {
        err << "dyesim: invalid option value (see --help)\n";
        return 2;
    }
    int balance = 0;
    double counts = 0.0;

    SimulatedController controller(sim);
    if (p.isSet("overfull")) {
        if (!parseBalanceAmount(p.value("overfull"), &balance, &counts)) {
            err << "dyesim: --overfull needs B:COUNTS\n";
            return 2;
        }
        controller.overfillBucket(balance, counts);
    }
    if (p.isSet("verbose")) {
        controller.machine().setEventSink(
            [&out](qint64 ms, const QString& what) { out << ms << " ms  " << what << Qt::endl; });
    }

    PtyServer server(controller, p.value("pty"));
    QString error;
    if (!server.start(&error)) {
        err << "dyesim: " << error << "\n";
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    out << "dyesim: type " << sim.machineType << " serving " << server.slavePath() << " at "
        << p.value("pty") << Qt::endl;
    return server.run(stopRequested);
}
