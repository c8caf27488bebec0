// Throughput of the dispensing run on the simulated machine, in virtual
// time: a queue of jobs of ten lines each (random codes of the shipped valve
// table, random weights) is worked to its end through the job start and the
// run sequence, as `dyestation --until-idle` does, once on the one-balance
// machine (type 1) and once on the two-balance machine (type 2, the lines
// split between the balances by their valves). Prints, per machine type, the
// machine time per job (and how it splits), the metering accuracy of the
// lines, and the wall and processor time the station needs per machine hour,
// then the machine time per job of both types side by side. Figures, not a
// pass/fail test.
//
// run_throughput [JOBS] (default 20)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>

#include "app/Installation.h"
#include "app/QueueRunner.h"
#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "files/jobs/JobFile.h"
#include "files/settings/SettingsFiles.h"

using namespace dye;

namespace {

// Runs `jobs` jobs on a machine of `type`; the machine seconds per job, or
// -1 when the queue did not empty.
double runType(int type, int jobs, QTextStream& out) {
    out << "-- machine type " << type << "\n";
    QTemporaryDir dir;
    if (!dir.isValid()) {
        out << "run_throughput: no temporary directory\n";
        return -1;
    }
    const QDir workdir(dir.path());
    seedInstallationFiles(workdir);
    QFile::remove(workdir.filePath(QStringLiteral("START_DISPEN.txt")));
    saveSettingsField(workdir, 5, QString::number(type));

    // The shipped valve table: ten different codes per job, 5 to 500 units.
    MachineSettings table;
    loadValveTable(workdir, table);
    std::mt19937 random(7);
    JobFile queue = jobQueueFile(workdir);
    for (int n = 1; n <= jobs; ++n) {
        JobRecord job;
        job.OrderNo = QStringLiteral("BENCH-%1").arg(n, 4, 10, QLatin1Char('0'));
        job.BucketNo = QString::number(1 + (n - 1) % 8);
        job.WaterAmount = QStringLiteral("15000");
        std::vector<int> valves(24);
        for (int v = 0; v < 24; ++v) valves[size_t(v)] = v + 1;
        std::shuffle(valves.begin(), valves.end(), random);
        std::uniform_int_distribution<int> weight(5, 500);
        for (int line = 0; line < JobRecord::kLines; ++line) {
            job.Code[size_t(line)] = table.valveCode(valves[size_t(line)]);
            job.Weight[size_t(line)] = QString::number(weight(random));
        }
        if (!queue.append(job)) {
            out << "run_throughput: queue not written: " << queue.errorString() << "\n";
            return -1;
        }
    }

    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    options.start = QDateTime(QDate(2026, 12, 7), QTime(6, 0));
    Station station(options, HeadlessDialogs::make);
    station.load();

    QString messages;
    QTextStream quiet(&messages);
    QueueRunner runner(station, quiet, quiet);
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpuStart = std::clock();
    const qint64 machineStart = station.scheduler.now();
    const int code = runner.run();
    const QList<FinishedJob>& finished = runner.finishedJobs();
    const double wallMs = double(wall.nsecsElapsed()) / 1e6;
    const double cpuMs = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
    const double machineMs = double(station.scheduler.now() - machineStart);

    double sumAbs = 0, maxAbs = 0, tolerance = station.state.settings.number(7);
    int lines = 0, within = 0;
    qint64 sumJob = 0, minJob = 0, maxJob = 0, sumLanes = 0;
    for (const FinishedJob& j : finished) {
        sumJob += j.machineMs;
        sumLanes += j.laneMeteringMs[0] + j.laneMeteringMs[1];
        minJob = minJob == 0 ? j.machineMs : std::min(minJob, j.machineMs);
        maxJob = std::max(maxJob, j.machineMs);
        for (int i = 0; i < j.recipeWeights.size(); ++i) {
            const double err = j.actualWeights.value(i).toDouble() - j.recipeWeights[i].toDouble();
            sumAbs += std::abs(err);
            maxAbs = std::max(maxAbs, std::abs(err));
            within += std::abs(err) <= tolerance ? 1 : 0;
            ++lines;
        }
    }
    const int done = int(finished.size());
    out << "jobs=" << done << "/" << jobs << " lines=" << lines << "\n";
    if (done > 0) {
        out << QStringLiteral("machine_s_per_job=%1 min=%2 max=%3 machine_h_total=%4\n")
                   .arg(double(sumJob) / done / 1000.0, 0, 'f', 1)
                   .arg(double(minJob) / 1000.0, 0, 'f', 1)
                   .arg(double(maxJob) / 1000.0, 0, 'f', 1)
                   .arg(machineMs / 3.6e6, 0, 'f', 2);
        if (type == 2 || type == 5)
            out << QStringLiteral("lane_metering_s_per_job=%1 (both balances, one after another)\n")
                       .arg(double(sumLanes) / done / 1000.0, 0, 'f', 1);
        out << QStringLiteral(
                   "lines_within_tolerance=%1% (tolerance %2) mean_abs_err=%3 "
                   "max_abs_err=%4\n")
                   .arg(100.0 * within / std::max(1, lines), 0, 'f', 1)
                   .arg(tolerance)
                   .arg(sumAbs / std::max(1, lines), 0, 'f', 2)
                   .arg(maxAbs, 0, 'f', 2);
    }
    out << QStringLiteral("wall_ms=%1 wall_ms_per_machine_hour=%2 machine_over_wall=%3x\n")
               .arg(wallMs, 0, 'f', 0)
               .arg(wallMs / (machineMs / 3.6e6), 0, 'f', 1)
               .arg(machineMs / wallMs, 0, 'f', 0);
    // Processor time of the run: the wall time less what other programs on
    // the machine took from it.
    out << QStringLiteral("cpu_ms=%1 machine_over_cpu=%2x\n")
               .arg(cpuMs, 0, 'f', 0)
               .arg(machineMs / std::max(cpuMs, 1.0), 0, 'f', 0);
    if (code != QueueRunner::kIdle) {
        out << "run_throughput: the queue did not empty: " << messages;
        return -1;
    }
    return done > 0 ? double(sumJob) / done / 1000.0 : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int jobs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTextStream out(stdout);
    const double one = runType(1, jobs, out);
    const double two = runType(2, jobs, out);
    out << QStringLiteral("machine_s_per_job type1=%1 type2=%2\n")
               .arg(one, 0, 'f', 1)
               .arg(two, 0, 'f', 1);
    return one < 0 || two < 0 ? 1 : 0;
}
