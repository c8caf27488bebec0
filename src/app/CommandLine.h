#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "sim/SimCommandLine.h"

namespace dye {

// The per-user working directory (~/.local/share/dyestation), where the
// station started from the desktop menu works.
QString perUserFolder();

// What the dyestation command line asks for.
struct CommandLine {
    QString workdir = QStringLiteral(".");
    // The per-user folder was asked for: a new one gets the installation files.
    bool perUser = false;
    bool simulate = false;
    bool headless = false;
    bool linkTest = false;
    bool untilIdle = false;  // work the queue to its end, then exit
    std::optional<double> runForSeconds;
    QString linkLog;
    QString screenshots;  // folder for the window pictures; "" none
    quint32 seed = 1;
    // Station time runs this many times faster than real time (--speed,
    // with --simulate only; the simulated machine runs on the same clock).
    double speed = 1.0;
    bool speedSet = false;
    // --report FILE [--find TEXT] [--csv OUT]: the consumption report of a
    // month's record file instead of the station ("" no report).
    QString report;
    QString find;
    bool findSet = false;
    QString csv;
    // --status-http ADDRESS:PORT: the read-only status service ("" off).
    QString statusHttp;
    // The simulator's physics and faults (--sim-drop 0.1, --sim-stuck 3, ...).
    SimCommandLine sim{QStringLiteral("sim-"), false};
};

// Parses the arguments (argv[0] first). On --help or --version, or on an
// error, returns nullopt with the text to print in `message` and the exit
// code in `exitCode`.
std::optional<CommandLine> parseCommandLine(const QStringList& arguments, QString* message,
                                            int* exitCode);

}  // namespace dye
