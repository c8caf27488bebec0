#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "files/settings/SettingsFiles.h"
#include "sim/SimulatedController.h"

using namespace dye;

namespace {

struct Parsed {
    std::optional<CommandLine> cl;
    QString message;
    int exitCode = -1;
};

Parsed parse(const QStringList& args) {
    Parsed p;
    p.cl =
        parseCommandLine(QStringList{QStringLiteral("dyestation")} + args, &p.message, &p.exitCode);
    return p;
}

}  // namespace

TEST(StationCommandLine, SpeedAndSimulatorOptionsNeedTheSimulator) {
    const QList<QStringList> refused = {
        {"--speed", "20"},
        {"--headless", "--sim-stuck", "1"},
        {"--simulate", "--speed", "0"},
        {"--simulate", "--speed", "fast"},
        {"--simulate", "--headless", "--until-idle", "--speed", "5"},
        {"--simulate", "--sim-seed", "2"},  // the station's own --seed seeds the simulator
    };
    for (const QStringList& args : refused) {
        const Parsed p = parse(args);
        EXPECT_FALSE(p.cl) << args.join(' ').toStdString();
        EXPECT_EQ(p.exitCode, 2) << args.join(' ').toStdString();
    }
    EXPECT_TRUE(parse({"--speed", "20"}).message.contains("--simulate"));
    EXPECT_TRUE(parse({"--sim-stuck", "1"}).message.contains("--sim-stuck"));

    const Parsed ok = parse({"--simulate", "--headless", "--speed", "2.5", "--run-for", "30"});
    ASSERT_TRUE(ok.cl);
    EXPECT_DOUBLE_EQ(ok.cl->speed, 2.5);
    EXPECT_TRUE(ok.cl->speedSet);
    EXPECT_FALSE(ok.cl->sim.any());
}

TEST(StationCommandLine, SimulatorFaultsReachTheStationsSimulatorOnItsClock) {
    QTemporaryDir dir;
    ASSERT_TRUE(saveSettingsField(QDir(dir.path()), 1, QStringLiteral("50")));  // scan interval
    ASSERT_TRUE(saveSettingsField(QDir(dir.path()), 5, QStringLiteral("1")));   // machine type
    const Parsed p = parse({"--simulate", "--workdir", dir.path(), "--sim-stuck", "2,4",
                            "--sim-silent-after", "5", "--sim-silent-for", "3"});
    ASSERT_TRUE(p.cl) << p.message.toStdString();
    Station::Options options;
    options.workdir = p.cl->workdir;
    options.simulate = true;
    options.simSetup = p.cl->sim.edit();
    Station station(options, HeadlessDialogs::make);
    station.loadSettingsForm();
    SimulatedController& sim = *station.simulator();
    EXPECT_TRUE(sim.faults().stuckValves[1]);
    EXPECT_TRUE(sim.faults().stuckValves[3]);
    EXPECT_FALSE(sim.faults().stuckValves[2]);

    // The scan's frames are answered until 5 s of station time, not from 5 s
    // to 8 s, and again after.
    const auto framesBy = [&](qint64 ms) {
        station.scheduler.advance(ms - station.scheduler.now());
        return sim.counters().replies;
    };
    const int at4 = framesBy(4000);
    EXPECT_GT(at4, 0);
    const int at5 = framesBy(5000);
    EXPECT_GT(at5, at4);
    EXPECT_EQ(framesBy(8000), at5);
    EXPECT_GT(framesBy(10000), at5);
}
