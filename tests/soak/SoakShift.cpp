#include "soak/SoakShift.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "core/OleDate.h"
#include "sim/SimulatedController.h"
#include "soak/SoakFaults.h"
#include "soak/SoakOperator.h"
#include "soak/SoakQueue.h"

namespace dye::soak {
namespace {

constexpr qint64 kStepMs = 200;         // machine time between two looks at the station
constexpr qint64 kIdleLookMs = 10'000;  // how often the soak asks whether the shift is done
constexpr qint64 kShiftSlackMs = 30 * 60'000;

void addPoured(SimulatedController* sim, std::array<double, 24>& to) {
    if (sim)
        for (int v = 1; v <= 24; ++v) to[size_t(v - 1)] += sim->machine().delivered(v);
}

}  // namespace

SeedResult runSeed(quint32 seed, const SoakFlags& flags) {
    SeedResult result;
    result.seed = seed;
    result.type = typeOfSeed(seed);
    std::mt19937 random(seed);
    // On a memory file system where there is one: the station syncs its
    // files at every step of a job, which a disk shared with builds makes
    // the soak's slowest part.
    QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/soak-XXXXXX")
                          : QDir::temp().filePath(QStringLiteral("soak-XXXXXX")));
    dir.setAutoRemove(!flags.keep);
    if (flags.keep) QTextStream(stderr) << "seed " << seed << " works in " << dir.path() << "\n";
    const QDir workdir(dir.path());
    SoakMachine machine = drawMachine(random, result.type);
    if (const QString error = setUpMachine(workdir, random, machine); !error.isEmpty()) {
        result.failures.append({QStringLiteral("soak set-up"), error});
        return result;
    }
    result.machine = machine.describe();

    // The shift's jobs: some queued before the start, the others by another
    // program while the station runs.
    const QDateTime start(QDate(2026, 12, 7), QTime(6, 0));
    const double startOle = toOleDate(start);
    const int jobCount = std::uniform_int_distribution<int>(2, 4)(random);
    std::vector<SoakJob> jobs;
    qint64 estimate = 0;
    for (int n = 1; n <= jobCount; ++n) {
        jobs.push_back(drawJob(random, machine, seed, n, startOle + n / 86400.0, flags.odd));
        estimate += jobs.back().boundMs / 3;
    }
    const int queuedFirst = std::uniform_int_distribution<int>(1, jobCount)(random);
    std::vector<qint64> queueAt(size_t(jobCount), 0);
    for (int n = queuedFirst; n < jobCount; ++n)
        queueAt[size_t(n)] = std::uniform_int_distribution<qint64>(0, estimate / 2)(random);
    SoakFaults faults(random, machine, estimate, flags.faults);
    SoakOperator op(random, machine, estimate, flags.operatorActions);
    const bool restart = std::uniform_int_distribution<int>(0, 2)(random) == 0;
    const qint64 restartAt = std::uniform_int_distribution<qint64>(
        30'000, std::max<qint64>(30'000, estimate / 2))(random);
    const qint64 offMs = std::uniform_int_distribution<qint64>(0, 120'000)(random);
    std::mt19937 extra(random());
    result.faults = faults.describe();
    result.operatorActions =
        op.describe() + (flags.restarts && restart
                             ? QStringLiteral("; restart at %1 s").arg(restartAt / 1000)
                             : QString());

    SoakChecks checks(workdir, machine, flags.verbose);
    QTextStream err(stderr);
    if (flags.verbose)
        err << "seed " << seed << ": " << result.machine << "\n  faults: " << result.faults
            << "\n  operator: " << result.operatorActions << "\n";
    std::vector<bool> queued(size_t(jobCount), false);
    int nextExtra = jobCount + 1;
    auto queueOne = [&](const SoakJob& job) {
        if (const QString error = queueJob(workdir, job); !error.isEmpty())
            result.failures.append({QStringLiteral("soak could not queue"), error});
        checks.queued(job);
        if (flags.verbose) err << "  queued " << job.describe() << "\n";
    };
    for (int n = 0; n < queuedFirst; ++n) {
        queueOne(jobs[size_t(n)]);
        queued[size_t(n)] = true;
    }

    const int restartPick = std::uniform_int_distribution<int>(0, 3)(random) == 0 ? 1 : 0;
    std::unique_ptr<Station> station;
    SoakOperator::Hooks hooks;
    QStringList events;
    std::array<double, 24> pouredBefore{};  // by the simulators of earlier stations
    auto makeStation = [&](const QDateTime& at, std::array<double, 2> load) {
        Station::Options o;
        o.workdir = dir.path();
        o.simulate = true;
        o.start = at;
        o.simSeed = seed;
        o.plantWorker = false;
        o.simSetup = [&machine, &faults, load](SimOptions& so) {
            so.physics.rateError = machine.rateError;
            so.physics.laneReadyAuto = !machine.manualLaneButtons;
            faults.applyTo(so.faults);
            so.initialLoad = load;
        };
        station = std::make_unique<Station>(o, HeadlessDialogs::make);
        op.attach(*station, hooks, events);
        station->load();
        if (flags.simEvents)
            station->simulator()->machine().setEventSink([](qint64 t, const QString& w) {
                // Lane phases, tares and bucket changes: what the station's
                // run told the machine.
                if (w.contains(QStringLiteral("bucket")) || w.contains(QStringLiteral("phase")) ||
                    w.contains(QStringLiteral("tare")))
                    QTextStream(stderr) << "    sim " << t / 1000 << " s: " << w << "\n";
            });
        checks.newStation();
    };
    auto poured = [&] {
        Poured p{pouredBefore, faults.overloaded()};
        addPoured(station->simulator(), p.byValve);
        return p;
    };

    hooks.newBucket = [&] {
        MachineModel& m = station->simulator()->machine();
        for (int b = 1; b <= 2; ++b) m.addContent(b, -m.content(b));
        checks.bucketsChanged(poured());
    };
    hooks.deleted = [&](const QString& order) { checks.deleted(order); };
    hooks.queueJob = [&] {
        const SoakJob job =
            drawJob(extra, machine, seed, nextExtra, startOle + nextExtra / 86400.0, flags.odd);
        ++nextExtra;
        queueOne(job);
    };

    makeStation(start, {0, 0});

    bool restarted = false, idle = false;
    qint64 ms = 0, lastIdleLook = 0;
    const qint64 limit = 3 * estimate * 3 + kShiftSlackMs;
    while (ms < limit) {
        station->scheduler.advance(kStepMs);
        ms += kStepMs;
        for (int n = queuedFirst; n < jobCount; ++n)
            if (!queued[size_t(n)] && ms >= queueAt[size_t(n)]) {
                queueOne(jobs[size_t(n)]);
                queued[size_t(n)] = true;
            }
        faults.step(ms, *station->simulator(), events);
        op.step(ms, *station, hooks, events);
        if (flags.restarts && restart && !restarted && ms >= restartAt &&
            !station->state.job.current().identity.order.trimmed().isEmpty()) {
            // A power cut: the station and the machine stop as they are; the
            // buckets keep their content, the balances lose their zero.
            restarted = true;
            const MachineModel& m = station->simulator()->machine();
            const std::array<double, 2> load{m.content(1), m.content(2)};
            addPoured(station->simulator(), pouredBefore);
            const QDateTime at = station->clock.now().addMSecs(offMs);
            station.reset();
            op.chooseAfterRestart(restartPick);
            makeStation(at, load);
            events << QStringLiteral("restart after %1 s off, buckets %2 / %3")
                          .arg(offMs / 1000)
                          .arg(load[0], 0, 'f', 1)
                          .arg(load[1], 0, 'f', 1);
        }
        if (flags.verbose)
            for (const QString& e : events) err << "  " << ms / 1000 << " s: " << e << "\n";
        events.clear();
        checks.step(ms, *station, poured(), op.stopped());
        if (checks.over()) break;
        const bool allQueued = std::all_of(queued.begin(), queued.end(), [](bool q) { return q; });
        if (allQueued && !op.stopped() && ms - lastIdleLook >= kIdleLookMs) {
            lastIdleLook = ms;
            if (checks.allHandled(*station)) {
                idle = true;
                break;
            }
        }
    }
    if (!idle && !checks.over())
        result.failures.append(
            {QStringLiteral("shift did not end"),
             QStringLiteral("the jobs were not all handled in %1 min of machine time")
                 .arg(limit / 60'000)});
    checks.finish(*station, idle);
    result.failures += checks.failures();
    result.jobs = checks.jobsRecorded();
    result.lines = checks.linesRecorded();
    result.setAside = checks.jobsSetAside();
    result.machineMs = ms;
    result.waiting = checks.waiting();
    return result;
}

}  // namespace dye::soak
