// dyesim: the controller simulator on a pseudo-terminal.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <atomic>
#include <csignal>

#include "sim/PtyServer.h"
#include "sim/SimCommandLine.h"
#include "sim/SimulatedController.h"

using namespace dye;

namespace {

std::atomic<bool> stopRequested{false};

void onSignal(int) {
    stopRequested.store(true);
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
    out << "dyesim: type " << sim.machineType << " serving " << server.slavePath() << " at "
        << p.value("pty") << Qt::endl;
    return server.run(stopRequested);
}
