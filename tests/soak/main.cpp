// The whole-station soak: one seed draws a machine, a shift of queued jobs
// (with the odd inputs real writers produce), the operator's actions, a
// restart and the controller's faults; the real station works the shift on
// the simulator in virtual time while the invariants are checked.
//
// soak --seed N                 one seed, replayed exactly
// soak [--seeds N] [--first S] [--type T] [--shard I/K]
//      N seeds from S (default 200 from 1); with --type only seeds of that
//      machine type (the type of seed s is s % 5 + 1)
// --no-faults --no-odd --no-operator --no-restarts, or --plain for all four:
//      narrow a failure down. --verbose: what happens, on standard error;
//      --keep: the seed's working folder is kept; --sim-events: the simulator's
//      tares, lane phases and bucket changes on standard error.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QTextStream>

#include <cstring>

#include "soak/SoakShift.h"

using namespace dye::soak;

namespace {

struct Args {
    SoakFlags flags;
    qint64 seed = -1;
    int seeds = 200;
    quint32 first = 1;
    int type = 0;
    int shard = 0, shards = 1;
    QString replayFlags;  // the flags a replay needs besides --seed
};

bool parse(int argc, char** argv, Args& a) {
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const QString next = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        if (arg == u"--seed") {
            a.seed = next.toLongLong();
            ++i;
        } else if (arg == u"--seeds") {
            a.seeds = next.toInt();
            ++i;
        } else if (arg == u"--first") {
            a.first = next.toUInt();
            ++i;
        } else if (arg == u"--type") {
            a.type = next.toInt();
            ++i;
        } else if (arg == u"--shard") {
            a.shard = next.section(u'/', 0, 0).toInt();
            a.shards = std::max(1, next.section(u'/', 1, 1).toInt());
            ++i;
        } else if (arg == u"--no-faults" || arg == u"--plain") {
            a.flags.faults = false;
            if (arg == u"--no-faults") a.replayFlags += QStringLiteral(" --no-faults");
        } else if (arg == u"--no-odd") {
            a.flags.odd = false;
            a.replayFlags += QStringLiteral(" --no-odd");
        } else if (arg == u"--no-operator") {
            a.flags.operatorActions = false;
            a.replayFlags += QStringLiteral(" --no-operator");
        } else if (arg == u"--no-restarts") {
            a.flags.restarts = false;
            a.replayFlags += QStringLiteral(" --no-restarts");
        } else if (arg == u"--verbose") {
            a.flags.verbose = true;
        } else if (arg == u"--keep") {
            a.flags.keep = true;
        } else if (arg == u"--sim-events") {
            a.flags.simEvents = true;
        } else {
            return false;
        }
        if (arg == u"--plain") {
            a.flags = SoakFlags{false, false, false, false, a.flags.verbose};
            a.replayFlags += QStringLiteral(" --plain");
        }
    }
    return a.type >= 0 && a.type <= 5 && a.seeds >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    Args a;
    if (!parse(argc, argv, a)) {
        QTextStream(stderr) << "usage: soak [--seed N | --seeds N --first S --type T --shard I/K] "
                               "[--no-faults] [--no-odd] [--no-operator] [--no-restarts] [--plain] "
                               "[--verbose] [--keep] [--sim-events]\n";
        return 2;
    }
    std::vector<quint32> seeds;
    if (a.seed >= 0) {
        seeds.push_back(quint32(a.seed));
    } else {
        for (quint32 s = a.first; int(seeds.size()) < a.seeds; ++s)
            if (a.type == 0 || typeOfSeed(s) == a.type) seeds.push_back(s);
    }
    const QString self = QString::fromLocal8Bit(argv[0]);
    int failing = 0, jobs = 0, lines = 0;
    qint64 machineMs = 0;
    QMap<int, std::array<qint64, 5>> perType;  // seeds, failing, jobs, lines, machine ms
    QMap<int, qint64> wallPerType;
    QMap<QString, QPair<int, quint32>> causes;  // count, first seed
    QElapsedTimer wall;
    wall.start();
    for (size_t i = 0; i < seeds.size(); ++i) {
        if (int(i) % a.shards != a.shard) continue;
        QElapsedTimer one;
        one.start();
        const SeedResult r = runSeed(seeds[i], a.flags);
        const qint64 wallMs = one.elapsed();
        out << "seed " << r.seed << " type " << r.type << " jobs " << r.jobs << " lines " << r.lines
            << " set_aside " << r.setAside << " machine_s " << r.machineMs / 1000 << " wall_ms "
            << wallMs << " failures " << r.failures.size() << "\n";
        if (!r.waiting.isEmpty()) out << "WAIT seed " << r.seed << ": " << r.waiting << "\n";
        if (!r.failures.isEmpty()) {
            ++failing;
            out << "FAIL seed " << r.seed << " (" << r.machine << ")\n";
            for (const SoakFailure& f : r.failures) {
                out << "  " << f.cause << ": " << f.detail << "\n";
                auto& c = causes[f.cause];
                if (c.first++ == 0) c.second = r.seed;
            }
            out << "  faults: " << r.faults << "\n  operator: " << r.operatorActions << "\n";
            out << "  replay: " << self << " --seed " << r.seed << a.replayFlags << "\n";
        }
        out.flush();
        jobs += r.jobs;
        lines += r.lines;
        machineMs += r.machineMs;
        auto& t = perType[r.type];
        t[0] += 1;
        t[1] += r.failures.isEmpty() ? 0 : 1;
        t[2] += r.jobs;
        t[3] += r.lines;
        t[4] += r.machineMs;
        wallPerType[r.type] += wallMs;
    }
    const double seconds = std::max<qint64>(1, wall.elapsed()) / 1000.0;
    for (auto it = causes.begin(); it != causes.end(); ++it)
        out << "cause " << it.value().first << "x first seed " << it.value().second << ": "
            << it.key() << "\n";
    for (auto it = perType.begin(); it != perType.end(); ++it)
        out << "type " << it.key() << " seeds=" << it.value()[0] << " failures=" << it.value()[1]
            << " jobs=" << it.value()[2] << " lines=" << it.value()[3] << " machine_h_per_s="
            << QString::number(
                   it.value()[4] / 3.6e6 / (std::max<qint64>(1, wallPerType[it.key()]) / 1000.0),
                   'f', 2)
            << "\n";
    int ran = 0;
    for (const auto& t : perType) ran += int(t[0]);
    out << "seeds=" << ran << " failures=" << failing << " jobs=" << jobs << " lines=" << lines
        << " machine_h=" << QString::number(machineMs / 3.6e6, 'f', 2)
        << " machine_h_per_s=" << QString::number(machineMs / 3.6e6 / seconds, 'f', 2) << "\n";
    return failing > 0 ? 1 : 0;
}
