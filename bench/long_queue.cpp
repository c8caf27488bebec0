// A long queue and the scan: the station runs on the simulated machine (type
// 1, virtual time) with RECORDS jobs of two small lines queued, through ENDS
// job ends. The scheduler is advanced in steps of 5 ms of machine time, and
// the wall time between two scan ticks (each sends a frame) is measured: a
// tick that reads or rewrites the whole queue shows as a long gap, which on
// the real clock is a controller link silent for that long. Prints the
// longest gap and where it fell, and per job end the wall time of the step
// that ended the job and the machine time from that end to the next job's
// start (machine time runs here much faster than the clock, so a queue
// rewritten in the background shows as a long machine time and its wall
// time). Figures, not a pass/fail test.
//
// long_queue [RECORDS] [ENDS]   (default 100000 and 2)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

#include "app/Installation.h"
#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "files/jobs/BackgroundRemoval.h"
#include "files/jobs/JobFile.h"
#include "files/settings/SettingsFiles.h"

using namespace dye;

namespace {

constexpr qint64 kStepMs = 5;
constexpr qint64 kMachineLimitMs = 24 * 3600 * 1000;

// `records` jobs of two lines each, written in one go as another program would.
bool writeQueue(const QDir& workdir, int records, QTextStream& out) {
    MachineSettings table;
    loadValveTable(workdir, table);
    QByteArray bytes;
    bytes.reserve(qsizetype(records) * JobRecord::kLength);
    for (int n = 1; n <= records; ++n) {
        JobRecord job;
        job.OrderNo = QStringLiteral("LONG-%1").arg(n, 6, 10, QLatin1Char('0'));
        job.BucketNo = QString::number(1 + (n - 1) % 8);
        job.QueuedAt = 46000.0 + n / 100000.0;
        job.Code[0] = table.valveCode(1 + n % 12);
        job.Weight[0] = QStringLiteral("20");
        job.Code[1] = table.valveCode(13 + n % 12);
        job.Weight[1] = QStringLiteral("15");
        bytes += job.toBytes();
    }
    QFile f(workdir.filePath(QString::fromLatin1(kJobQueueFileName)));
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) return true;
    out << "long_queue: queue not written: " << f.errorString() << "\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int ends = argc > 2 ? std::max(1, atoi(argv[2])) : 2;
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        out << "long_queue: no temporary directory\n";
        return 1;
    }
    const QDir workdir(dir.path());
    seedInstallationFiles(workdir);
    saveSettingsField(workdir, 5, QStringLiteral("1"));
    if (!writeQueue(workdir, records, out)) return 1;

    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    options.start = QDateTime(QDate(2026, 12, 7), QTime(6, 0));
    options.plantWorker = false;
    Station station(options, HeadlessDialogs::make);
    QElapsedTimer wall;
    wall.start();
    station.load();
    out << "records=" << records << " load_wall_ms=" << wall.elapsed() << "\n";

    const Form3& f = station.state.form3;
    qint64 lastTick = station.scan().ticks();
    qint64 lastTickWallNs = wall.nsecsElapsed();
    qint64 longestGapNs = 0, longestGapAt = 0, endedAt = -1, endedWallNs = 0;
    int ended = 0;
    bool onMachine = !f.Label2.Caption.trimmed().isEmpty();
    while (ended < ends && station.scheduler.now() < kMachineLimitMs) {
        const qint64 before = wall.nsecsElapsed();
        station.scheduler.advance(kStepMs);
        const qint64 after = wall.nsecsElapsed();
        if (station.scan().ticks() != lastTick) {
            if (after - lastTickWallNs > longestGapNs) {
                longestGapNs = after - lastTickWallNs;
                longestGapAt = station.scheduler.now();
            }
            lastTick = station.scan().ticks();
            lastTickWallNs = after;
        }
        const bool now = !f.Label2.Caption.trimmed().isEmpty();
        if (onMachine && !now) {
            ++ended;
            endedAt = station.scheduler.now();
            endedWallNs = after;
            out << QStringLiteral("job_end=%1 at_machine_s=%2 step_wall_ms=%3\n")
                       .arg(ended)
                       .arg(double(endedAt) / 1000.0, 0, 'f', 1)
                       .arg(double(after - before) / 1e6, 0, 'f', 1);
        } else if (!onMachine && now && endedAt >= 0) {
            out << QStringLiteral("next_job_start_after_end_machine_s=%1 wall_ms=%2\n")
                       .arg(double(station.scheduler.now() - endedAt) / 1000.0, 0, 'f', 1)
                       .arg(double(after - endedWallNs) / 1e6, 0, 'f', 1);
        }
        onMachine = now;
    }
    out << QStringLiteral("job_ends=%1 machine_s=%2 wall_s=%3 scan_ticks=%4\n")
               .arg(ended)
               .arg(double(station.scheduler.now()) / 1000.0, 0, 'f', 1)
               .arg(double(wall.nsecsElapsed()) / 1e9, 0, 'f', 1)
               .arg(station.scan().ticks());
    out << QStringLiteral("longest_wall_gap_between_scan_frames_ms=%1 at_machine_s=%2\n")
               .arg(double(longestGapNs) / 1e6, 0, 'f', 1)
               .arg(double(longestGapAt) / 1000.0, 0, 'f', 1);
    BackgroundRemoval::wait(jobQueueFile(workdir).path());
    out << "queue_records_left=" << jobQueueFile(workdir).count() << "\n";
    if (ended < ends) out << "status=" << f.Status << "\n";
    return ended == ends ? 0 : 1;
}
