#include <gtest/gtest.h>

#include "sim/SimCommandLine.h"

using namespace dye;

namespace {

// Parses `args` with the options of `line` added; the parse must succeed.
bool readInto(SimCommandLine& line, const QStringList& args, QString* error = nullptr) {
    QCommandLineParser p;
    line.addOptions(p);
    if (!p.parse(QStringList{QStringLiteral("prog")} + args)) {
        if (error) *error = p.errorText();
        return false;
    }
    QString ignored;
    return line.read(p, error ? error : &ignored);
}

}  // namespace

TEST(SimCommandLine, StationPrefixReadsFaultsAndLeavesTheSetUpToTheStation) {
    SimCommandLine line(QStringLiteral("sim-"), false);
    ASSERT_TRUE(readInto(line, {"--sim-stuck", "3", "--sim-stuck", "5, 7", "--sim-drop", "0.1",
                                "--sim-silent-after", "12.5", "--sim-silent-for", "10"}));
    EXPECT_EQ(line.firstSet(), "--sim-drop");
    SimOptions o;
    line.applyTo(o);
    for (int v = 1; v <= 24; ++v)
        EXPECT_EQ(o.faults.stuckValves[size_t(v - 1)], v == 3 || v == 5 || v == 7) << v;
    EXPECT_DOUBLE_EQ(o.faults.dropReplies, 0.1);
    EXPECT_EQ(o.faults.silentFromMs, 12500);
    EXPECT_EQ(o.faults.silentForMs, 10000);

    // The machine type and seed come from the station's settings and --seed.
    SimCommandLine again(QStringLiteral("sim-"), false);
    QString error;
    EXPECT_FALSE(readInto(again, {"--sim-type", "2"}, &error));
    EXPECT_TRUE(error.contains("sim-type")) << error.toStdString();
    EXPECT_FALSE(readInto(again, {"--drop", "0.1"}));
}

TEST(SimCommandLine, ValuesOutOfRangeAreRefusedByName) {
    const QList<QStringList> bad = {
        {"--drop", "1.5"},   {"--drop", "x"},          {"--stuck", "25"},
        {"--stuck", "0"},    {"--stuck", "2,b"},       {"--load", "3:100"},
        {"--overfull", "1"}, {"--silent-after", "-1"}, {"--latency-ms", "nan"},
        {"--type", "6"},     {"--ramp-ms", "2.5"},
    };
    for (const QStringList& args : bad) {
        SimCommandLine line;
        QString error;
        EXPECT_FALSE(readInto(line, args, &error)) << args.join(' ').toStdString();
        EXPECT_TRUE(error.contains(args[0])) << error.toStdString();
    }
}

TEST(SimCommandLine, CommandLineWinsOverTheStationFilesInTableOrder) {
    SimCommandLine line;
    ASSERT_TRUE(readInto(line, {"--overfull", "1:250000", "--load", "1:100", "--type", "2",
                                "--latency-ms", "1.5", "--silent-for", "4", "--silent"}));
    SimOptions o;
    o.machineType = 3;  // as loadMachineSettings() would have read it
    o.initialLoad = {7.0, 8.0};
    line.edit()(o);
    EXPECT_EQ(o.machineType, 2);
    // The load is set first, the overfull bucket comes on top of it.
    EXPECT_DOUBLE_EQ(o.initialLoad[0], 250100.0);
    EXPECT_DOUBLE_EQ(o.initialLoad[1], 8.0);
    EXPECT_EQ(o.physics.replyLatencyUs, 1500);
    // A silent spell without a start begins at once.
    EXPECT_EQ(o.faults.silentFromMs, 0);
    EXPECT_EQ(o.faults.silentForMs, 4000);
    EXPECT_TRUE(o.faults.silent);
    EXPECT_FALSE(SimCommandLine().edit());
}
