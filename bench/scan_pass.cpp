// One pass of the scan on the in-process simulator, against its floors: the
// 16 ticks of the scan interval, and the characters the pass moves at 19200
// baud 7E1. Prints the figures and the ratios; also the wall and processor
// time the simulation needs per pass (how much faster than the machine it runs).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>

#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "files/settings/SettingsFiles.h"

using namespace dye;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QDir wd(dir.path());
    const int interval = 50;
    saveSettingsField(wd, 0, QStringLiteral("1"));
    saveSettingsField(wd, 1, QString::number(interval));
    saveSettingsField(wd, 5, QStringLiteral("1"));
    saveSettingsField(wd, 11, QStringLiteral("12"));

    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    options.linkLog = QString();
    Station station(options, HeadlessDialogs::make);
    qint64 chars = 0;
    station.scan().setFrameObserver([&](const QByteArray& f) { chars += f.size(); });
    station.loadSettingsForm();
    station.state.timers.homing->setEnabled(false);

    const int passes = 2000;
    const int passMs = 16 * interval;
    // Keep every write block busy so the pass moves its largest load.
    auto loadSlots = [&] {
        for (int r = 800; r <= 809; ++r) station.state.link.image.set(r, 1);
        for (int r = 847; r <= 874; ++r) station.state.link.image.set(r, 30000);
        for (int r = 985; r <= 996; ++r) station.state.link.image.set(r, 1);
        for (int r = 708; r <= 719; ++r) station.state.link.image.set(r, 1000);
    };
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpuStart = std::clock();
    for (int p = 0; p < passes; ++p) {
        loadSlots();
        station.scheduler.advance(passMs);
    }
    const double wallUsPerPass = wall.nsecsElapsed() / 1000.0 / passes;
    const double cpuUsPerPass = double(std::clock() - cpuStart) * 1e6 / CLOCKS_PER_SEC / passes;
    // Answers: three reads per pass (4 x 32-bit, 5 x 16-bit, 13 x 16-bit).
    const qint64 replyChars = (7 + 32 + 3) + (7 + 20 + 3) + (7 + 52 + 3);
    const double sentPerPass = double(chars) / passes;
    const double charsPerPass = sentPerPass + replyChars;
    const double wireMs = charsPerPass * 10.0 / 19200.0 * 1000.0;
    out << "scan_pass interval_ms=" << interval << " pass_ms=" << passMs
        << " chars_per_pass=" << charsPerPass << " wire_ms=" << QString::number(wireMs, 'f', 1)
        << " wire_share=" << QString::number(wireMs / passMs * 100.0, 'f', 1) << "%"
        << " pass_over_wire_floor=" << QString::number(passMs / wireMs, 'f', 2)
        << " wall_us_per_pass=" << QString::number(wallUsPerPass, 'f', 1)
        << " machine_over_wall=" << QString::number(passMs * 1000.0 / wallUsPerPass, 'f', 0)
        << "x cpu_us_per_pass=" << QString::number(cpuUsPerPass, 'f', 1) << " machine_over_cpu="
        << QString::number(passMs * 1000.0 / std::max(cpuUsPerPass, 0.1), 'f', 0) << "x\n";
    return 0;
}
