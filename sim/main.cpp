// dyesim: the controller simulator on a pseudo-terminal.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>

#include "sim/PtyServer.h"
#include "sim/SimCommandLine.h"
#include "sim/SimulatedController.h"

using namespace dye;

namespace {

std::atomic<bool> stopRequested{false};
std::array<std::atomic<bool>, 2> lanePressed{};

void onSignal(int) {
    stopRequested.store(true);
}

void onLaneSignal(int signal) {
    lanePressed[signal == SIGUSR2 ? 1 : 0].store(true);
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
    p.addOption({"pty", "Serve on a pseudo-terminal linked at <link> (required).", "link"});
    p.addOption({"workdir",
                 "Station directory: nominal valve rates from AA_Name.txt, type and valves per "
                 "station from JUCIsetting.txt.",
                 "dir"});
    p.addOption({"verbose", "Print every command the machine acts on."});
    SimCommandLine simOptions;
    simOptions.addOptions(p);
    p.process(app);

    if (!p.isSet("pty")) {
        err << "dyesim: --pty LINK is required (see --help)\n";
        return 2;
    }
    SimOptions sim;
    QString invalid;
    if (!simOptions.read(p, &invalid)) {
        err << "dyesim: " << invalid << " (see --help)\n";
        return 2;
    }
    if (p.isSet("workdir")) {
        loadValveRates(p.value("workdir"), sim);
        loadMachineSettings(p.value("workdir"), sim);
    }
    simOptions.applyTo(sim);

    SimulatedController controller(sim);
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
    std::signal(SIGUSR1, onLaneSignal);
    std::signal(SIGUSR2, onLaneSignal);
    out << "dyesim: type " << sim.machineType << " serving " << server.slavePath() << " at "
        << p.value("pty") << Qt::endl;
    // A lane's bucket ready button, pressed by a signal (--lane-ready manual).
    return server.run(stopRequested, [&controller] {
        for (int lane : {1, 2}) {
            if (!lanePressed[size_t(lane - 1)].exchange(false)) continue;
            controller.machine().pressLaneReady(lane);
            std::printf("dyesim: bucket ready on lane %d\n", lane);
            std::fflush(stdout);
        }
    });
}
