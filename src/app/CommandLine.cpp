#include "CommandLine.h"

#include <QCommandLineParser>
#include <QStandardPaths>

#include "Version.h"
#include "status/StatusService.h"

namespace dye {

QString perUserFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/dyestation");
}

namespace {

// Beyond this the scan and the sequences no longer keep up with the clock.
constexpr double kMaxSpeed = 1000.0;

}  // namespace

std::optional<CommandLine> parseCommandLine(const QStringList& arguments, QString* message,
                                            int* exitCode) {
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "DyeStation: the operator station of an automatic dye and auxiliary dispensing machine.\n"
        "It starts in the working directory, reads the settings files there and drives the\n"
        "machine's controller over the serial port named by settings field 0 (\"ComPort\").\n"
        "The --sim-... options set the built-in simulator's physics and faults (dyesim's\n"
        "options of the same names); they need --simulate."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version."));
    const QCommandLineOption workdir(
        QStringLiteral("workdir"),
        QStringLiteral("Working directory with the settings, job and record files "
                       "(default: the current directory)."),
        QStringLiteral("DIR"));
    const QCommandLineOption perUser(
        QStringLiteral("per-user"),
        QStringLiteral("Work in the per-user folder (%1), created with the installation "
                       "files when it is new, as the desktop menu starts the station; "
                       "--workdir, when given, is used instead.")
            .arg(perUserFolder()));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Connect to the built-in controller simulator instead of the "
                       "serial port; it takes its nominal valve rates from the "
                       "working directory's valve table."));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Run without windows. With --simulate and --run-for (and no "
                       "--speed), or with --until-idle, the station runs on virtual time, as "
                       "fast as it can. Otherwise it runs on the real clock (times --speed): "
                       "--simulate --headless without --run-for runs until it is stopped."));
    const QCommandLineOption runFor(QStringLiteral("run-for"),
                                    QStringLiteral("Stop after SECONDS of station time."),
                                    QStringLiteral("SECONDS"));
    const QCommandLineOption untilIdle(
        QStringLiteral("until-idle"),
        QStringLiteral("With --simulate --headless: work the queue to its end on virtual "
                       "time, print one line per finished job and exit (0 when every job "
                       "finished, non-zero with the reason when one could not)."));
    const QCommandLineOption linkLog(
        QStringLiteral("link-log"),
        QStringLiteral("Write one line per frame sent (>) or received (<) to FILE, with "
                       "the station clock time; control characters as <STX>, <ETX>."),
        QStringLiteral("FILE"));
    const QCommandLineOption linkTest(
        QStringLiteral("link-test"),
        QStringLiteral("Open the link test screen on its own, for commissioning: read "
                       "and write D registers by hand and see the raw answers."));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        QStringLiteral("Seed of the simulator's noise and faults (default 1)."),
        QStringLiteral("N"));
    const QCommandLineOption speed(
        QStringLiteral("speed"),
        QStringLiteral("With --simulate: the station clock and the simulated machine run "
                       "FACTOR times faster than real time (windows or not; also with "
                       "--headless --run-for, which then runs on the real clock)."),
        QStringLiteral("FACTOR"));
    const QCommandLineOption report(
        QStringLiteral("report"),
        QStringLiteral("Print the totals per valve of a month's record file and exit: FILE is "
                       "its path, or yyyymm for data/DATE_yyyymm.txt of the working "
                       "directory, whose valve table gives the codes and names."),
        QStringLiteral("FILE"));
    const QCommandLineOption find(
        QStringLiteral("find"),
        QStringLiteral("With --report: only the records of order TEXT, or of day dd of the "
                       "month with ##dd, as the records viewer searches."),
        QStringLiteral("TEXT"));
    const QCommandLineOption csv(
        QStringLiteral("csv"),
        QStringLiteral("With --report: also write the records reported to OUT as CSV, one "
                       "row per recipe line."),
        QStringLiteral("OUT"));
    p.addOptions({help, version, workdir, perUser, simulate, headless, runFor, untilIdle, linkLog,
                  linkTest, seed, speed});
    const QCommandLineOption statusHttp(
        QStringLiteral("status-http"),
        QStringLiteral("Serve a read-only status service on ADDRESS:PORT (127.0.0.1 when only a "
                       "port is given): /api/status (JSON), /metrics (Prometheus text) and / (a "
                       "page that refreshes itself). It runs on the station's event loop, so "
                       "it answers on the real clock (windows, --headless without --run-for, or "
                       "with --speed), not in the virtual-time runs (--until-idle, "
                       "--simulate --headless --run-for without --speed)."),
        QStringLiteral("ADDRESS:PORT"));
    p.addOptions({report, find, csv, statusHttp});
    // The simulator's own options, by dyesim's names with "sim-" in front.
    CommandLine cl;
    cl.sim.addOptions(p);
    // For the documentation: grab the windows once a job is being metered, then exit.
    QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                   QStringLiteral("Save pictures of the windows into DIR."),
                                   QStringLiteral("DIR"));
    screenshots.setFlags(QCommandLineOption::HiddenFromHelp);
    p.addOption(screenshots);

    // The parser runs before the application object exists: name the program here.
    const auto helpText = [&p] {
        return p.helpText().replace(QStringLiteral("<executable_name>"),
                                    QStringLiteral("dyestation"));
    };
    *exitCode = 0;
    if (!p.parse(arguments)) {
        *message = p.errorText() + QStringLiteral("\n\n") + helpText();
        *exitCode = 2;
        return std::nullopt;
    }
    if (p.isSet(help)) {
        *message = helpText();
        return std::nullopt;
    }
    if (p.isSet(version)) {
        *message = QStringLiteral("DyeStation %1 (commit %2)\n")
                       .arg(QString::fromLatin1(kVersion), QString::fromLatin1(kCommit));
        return std::nullopt;
    }
    if (p.isSet(perUser)) {
        cl.perUser = true;
        cl.workdir = perUserFolder();
    }
    if (p.isSet(workdir)) cl.workdir = p.value(workdir);
    cl.simulate = p.isSet(simulate);
    cl.headless = p.isSet(headless);
    cl.linkTest = p.isSet(linkTest);
    cl.untilIdle = p.isSet(untilIdle);
    if (cl.untilIdle && !(cl.simulate && cl.headless)) {
        *message = QStringLiteral("--until-idle needs --simulate and --headless\n");
        *exitCode = 2;
        return std::nullopt;
    }
    cl.report = p.value(report);
    cl.findSet = p.isSet(find);
    cl.find = p.value(find);
    cl.csv = p.value(csv);
    if (p.isSet(report) && cl.report.isEmpty()) {
        *message = QStringLiteral("--report needs a record file, or a month as yyyymm\n");
        *exitCode = 2;
        return std::nullopt;
    }
    if (cl.report.isEmpty() && (cl.findSet || p.isSet(csv))) {
        *message = QStringLiteral("--find and --csv need --report\n");
        *exitCode = 2;
        return std::nullopt;
    }
    if (!cl.report.isEmpty() && (cl.simulate || cl.linkTest || cl.untilIdle)) {
        *message = QStringLiteral(
            "--report reads a record file and exits: it does not go "
            "with --simulate, --link-test or --until-idle\n");
        *exitCode = 2;
        return std::nullopt;
    }
    if (p.isSet(statusHttp)) {
        QHostAddress address;
        quint16 port = 0;
        QString error;
        if (!parseListenAddress(p.value(statusHttp), &address, &port, &error)) {
            *message = error + QStringLiteral("\n");
            *exitCode = 2;
            return std::nullopt;
        }
        if (!cl.report.isEmpty() || cl.linkTest || cl.untilIdle) {
            *message = QStringLiteral(
                "--status-http serves a running station: it does not go with --report, "
                "--link-test or --until-idle\n");
            *exitCode = 2;
            return std::nullopt;
        }
        cl.statusHttp = p.value(statusHttp);
    }
    cl.screenshots = p.value(screenshots);
    if (!cl.screenshots.isEmpty() && (cl.headless || cl.linkTest)) {
        *message = QStringLiteral("--screenshots needs the windows of the station\n");
        *exitCode = 2;
        return std::nullopt;
    }
    cl.linkLog = p.value(linkLog);
    if (p.isSet(runFor)) {
        bool ok = false;
        const double s = p.value(runFor).toDouble(&ok);
        if (!ok || s < 0) {
            *message = QStringLiteral("--run-for needs a number of seconds, not \"%1\"\n")
                           .arg(p.value(runFor));
            *exitCode = 2;
            return std::nullopt;
        }
        cl.runForSeconds = s;
    }
    if (p.isSet(seed)) cl.seed = p.value(seed).toUInt();
    if (p.isSet(speed)) {
        bool ok = false;
        const double factor = p.value(speed).toDouble(&ok);
        if (!ok || !(factor > 0.0 && factor <= kMaxSpeed)) {
            *message = QStringLiteral("--speed needs a factor above 0 and up to %1, not \"%2\"\n")
                           .arg(kMaxSpeed)
                           .arg(p.value(speed));
            *exitCode = 2;
            return std::nullopt;
        }
        if (!cl.simulate) {
            *message = QStringLiteral(
                "--speed needs --simulate: a real machine runs on the real clock only\n");
            *exitCode = 2;
            return std::nullopt;
        }
        if (cl.untilIdle) {
            *message = QStringLiteral(
                "--speed does not go with --until-idle, which runs as fast as it can\n");
            *exitCode = 2;
            return std::nullopt;
        }
        cl.speed = factor;
        cl.speedSet = true;
    }
    // On virtual time there is no event loop to answer from.
    if (!cl.statusHttp.isEmpty() && cl.headless && cl.simulate && cl.runForSeconds &&
        !cl.speedSet) {
        *message = QStringLiteral(
            "--status-http needs the real clock: --simulate --headless --run-for runs on "
            "virtual time (add --speed 1 for real time)\n");
        *exitCode = 2;
        return std::nullopt;
    }
    QString simError;
    if (!cl.sim.read(p, &simError)) {
        *message = simError + QStringLiteral("\n");
        *exitCode = 2;
        return std::nullopt;
    }
    if (cl.sim.any() && !cl.simulate) {
        *message = QStringLiteral("%1 needs --simulate\n").arg(cl.sim.firstSet());
        *exitCode = 2;
        return std::nullopt;
    }
    if (!p.positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument: %1\n\n%2")
                       .arg(p.positionalArguments().first(), helpText());
        *exitCode = 2;
        return std::nullopt;
    }
    return cl;
}

}  // namespace dye
