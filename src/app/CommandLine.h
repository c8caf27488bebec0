#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace dye {

// What the dyestation command line asks for.
struct CommandLine {
    QString workdir = QStringLiteral(".");
    bool simulate = false;
    bool headless = false;
    bool linkTest = false;
    bool untilIdle = false;  // work the queue to its end, then exit
    std::optional<double> runForSeconds;
    QString linkLog;
    QString screenshots;  // folder for the window pictures; "" none
    quint32 seed = 1;
};

// Parses the arguments (argv[0] first). On --help or --version, or on an
// error, returns nullopt with the text to print in `message` and the exit
// code in `exitCode`.
std::optional<CommandLine> parseCommandLine(const QStringList& arguments, QString* message,
                                            int* exitCode);

}  // namespace dye
