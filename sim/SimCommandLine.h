#pragma once

#include <QCommandLineParser>
#include <QString>

#include <functional>
#include <vector>

#include "sim/SimOptions.h"

namespace dye {

// The simulator's physics and fault options on a command line, read by one
// parser for both programs that run it: dyesim offers them by their plain
// names (`--drop 0.1`), dyestation --simulate with a prefix (`--sim-drop 0.1`).
// The values read are kept as edits and applied to options loaded from a
// station directory afterwards, so the command line wins over the files.
class SimCommandLine {
  public:
    using Edit = std::function<void(SimOptions&)>;

    // `prefix` goes in front of every option name. With `standalone` the
    // options that set up a simulator running on its own (machine type,
    // valves per station, seed) are offered too; a station sets those itself.
    explicit SimCommandLine(QString prefix = {}, bool standalone = true);

    // Adds the options to `parser`.
    void addOptions(QCommandLineParser& parser) const;

    // Reads the options set on the parsed command line. False, with `error`
    // naming the option and its value, when a value does not parse or lies
    // out of range; the edits read before it are kept.
    bool read(const QCommandLineParser& parser, QString* error);

    // Whether any option was set.
    bool any() const { return !edits_.empty(); }
    // The name (with prefix and dashes) of the first option set, for messages.
    const QString& firstSet() const { return firstSet_; }

    // Applies the options read, in the order of the option table.
    void applyTo(SimOptions& options) const;
    // The same as one function, for a simulator built later.
    Edit edit() const;

  private:
    struct Entry {
        QString name;
        QString valueName;  // empty: a switch without a value
        QString help;
        bool standaloneOnly;
        // Turns the option's values (every occurrence, in order) into an
        // edit; an empty edit when a value is invalid.
        std::function<Edit(const QStringList&)> parse;
    };
    static std::vector<Entry> table();

    QString prefix_;
    bool standalone_;
    std::vector<Edit> edits_;
    QString firstSet_;
};

}  // namespace dye
