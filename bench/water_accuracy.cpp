// Water accuracy of the dispensing run on the simulated machine, in virtual
// time: jobs of one small line and water amounts from 0 to 30 kg are worked
// through the job start and the run sequence on the one-balance machine
// (type 1) and the two-balance machine (type 2). Each machine type runs the
// amounts twice: once with no learned run-on (the learned water file is
// removed before every job, so the described allowance applies), then with
// the run-on the station learns from job to job (two rounds of the amounts,
// the first of which learns from nothing). Prints the water error of every
// job and, per run, the largest error of the jobs of 10 kg or more. Figures,
// not a pass/fail test.
//
// bench_water_accuracy [SEED] (default 1)
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>

#include "app/Installation.h"
#include "app/QueueRunner.h"
#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "core/Val.h"
#include "files/jobs/JobFile.h"
#include "files/settings/SettingsFiles.h"
#include "run/WaterLearning.h"

using namespace dye;

namespace {

const int kAmounts[] = {0,    500,   1000,  2000,  3000,  5000,  7000,
                        9000, 10000, 12000, 15000, 20000, 25000, 30000};

struct Figures {
    double largestBigShare = 0;  // the largest |error| / amount of the jobs of 10 kg or more
    double largestSmall = 0;     // the largest |error| of the smaller ones
};

// Runs one job of `amount` on `station`; the recorded actual water, or NaN
// when the job did not finish.
double runJob(Station& station, const QDir& workdir, int n, int amount, QTextStream& out) {
    JobRecord job;
    job.OrderNo = QStringLiteral("W-%1").arg(n, 3, 10, QLatin1Char('0'));
    job.BucketNo = QString::number(1 + n % 8);
    job.WaterAmount = QString::number(amount);
    job.Code[0] = station.state.settings.valveCode(1);
    job.Weight[0] = QStringLiteral("20");
    if (!jobQueueFile(workdir).append(job)) return std::nan("");
    QString quiet;
    QTextStream sink(&quiet);
    QueueRunner runner(station, sink, sink);
    if (runner.run() != QueueRunner::kIdle || runner.finishedJobs().isEmpty()) {
        out << "  " << job.OrderNo << ": not finished: " << quiet << "\n";
        return std::nan("");
    }
    return Val(runner.finishedJobs().constLast().actualWater);
}

Figures runType(int type, bool learn, quint64 seed, QTextStream& out) {
    QTemporaryDir dir;
    const QDir workdir(dir.path());
    seedInstallationFiles(workdir);
    QFile::remove(workdir.filePath(QStringLiteral("START_DISPEN.txt")));
    saveSettingsField(workdir, 5, QString::number(type));
    Station::Options options;
    options.workdir = dir.path();
    options.simulate = true;
    options.simSeed = seed;
    options.start = QDateTime(QDate(2026, 12, 7), QTime(6, 0));
    Station station(options, HeadlessDialogs::make);
    station.load();

    Figures f;
    const int rounds = learn ? 2 : 1;
    int n = 0;
    for (int round = 1; round <= rounds; ++round) {
        out << "  "
            << (learn ? QStringLiteral("learned, round %1").arg(round)
                      : QStringLiteral("no allowance"))
            << ":";
        for (int amount : kAmounts) {
            if (!learn) QFile::remove(WaterLearning::path(workdir));
            const double got = runJob(station, workdir, ++n, amount, out);
            const double err = got - amount;
            out << " " << amount << (err >= 0 ? "+" : "") << QString::number(err, 'f', 0);
            out.flush();
            if (round < rounds || std::isnan(err)) continue;
            if (amount >= 10000)
                f.largestBigShare = std::max(f.largestBigShare, std::abs(err) / amount);
            else
                f.largestSmall = std::max(f.largestSmall, std::abs(err));
        }
        out << "\n";
    }
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const quint64 seed = argc > 1 ? QByteArray(argv[1]).toULongLong() : 1;
    out << "water_accuracy: one job per amount (grams), error = recorded actual water - amount; "
           "simulator seed "
        << seed << ", shipped settings, virtual time\n";
    for (int type : {1, 2}) {
        for (bool learn : {false, true}) {
            out << "-- machine type " << type << "\n";
            const Figures f = runType(type, learn, seed, out);
            out << "  largest error, jobs of 10 kg or more: "
                << QString::number(100 * f.largestBigShare, 'f', 2)
                << " %; smaller jobs: " << QString::number(f.largestSmall, 'f', 0) << " g\n";
            out.flush();
        }
    }
    return 0;
}
