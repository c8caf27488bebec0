#include "soak/SoakQueue.h"

#include <algorithm>
#include <cmath>

#include "files/jobs/JobFile.h"

namespace dye::soak {
namespace {

// The time bound of a job: every line at 80 % of its valve's table rate,
// plus what a line, the water, the moves and the wash take around it.
constexpr double kBoundRateShare = 0.8;
constexpr qint64 kBoundPerLineMs = 60'000;
constexpr qint64 kBoundPerJobMs = 15 * 60'000;
constexpr double kWaterRatePerSecond = 500;  // the simulator's water valve

// 0.5 to 2000 with up to two decimals, small weights drawn often.
QString drawWeight(std::mt19937& random) {
    const int band = std::uniform_int_distribution<int>(0, 9)(random);
    double w;
    if (band < 3)
        w = std::uniform_real_distribution<double>(0.5, 5.0)(random);
    else if (band < 6)
        w = std::uniform_real_distribution<double>(5.0, 100.0)(random);
    else
        w = std::uniform_real_distribution<double>(100.0, 2000.0)(random);
    const int decimals = std::uniform_int_distribution<int>(0, 2)(random);
    w = std::max(0.5, std::round(w * std::pow(10, decimals)) / std::pow(10, decimals));
    return QString::number(w, 'f', decimals);
}

QString drawWater(std::mt19937& random) {
    if (std::uniform_int_distribution<int>(0, 9)(random) < 3) return QStringLiteral("0");
    return QString::number(std::uniform_int_distribution<int>(1, 300)(random) * 100);
}

// A code for a line of `weight` grams: on type 5 it must stand on the valves
// of the station whose balance takes the line.
QString drawCode(std::mt19937& random, const SoakMachine& m, double weight,
                 const QStringList& taken) {
    std::vector<QString> choices;
    for (int v = 1; v <= 24; ++v) {
        const QString& code = m.codes[size_t(v - 1)];
        if (code.isEmpty() || taken.contains(code)) continue;
        if (m.type == 5 && m.stationOf(v) != (weight > m.threshold ? 1 : 2)) continue;
        // A code twice in the table is used once.
        if (std::find(choices.begin(), choices.end(), code) == choices.end())
            choices.push_back(code);
    }
    if (choices.empty()) return QString();
    return choices[size_t(std::uniform_int_distribution<int>(0, int(choices.size()) - 1)(random))];
}

qint64 boundOf(const SoakMachine& m, const JobRecord& r) {
    qint64 ms = kBoundPerJobMs;
    for (int i = 0; i < JobRecord::kLines; ++i) {
        if (r.Code[size_t(i)].isEmpty()) continue;
        double rate = 0;  // the slowest valve carrying the code
        for (int v : m.valvesOf(r.Code[size_t(i)]))
            rate = rate == 0 ? m.rates[size_t(v - 1)] : std::min(rate, m.rates[size_t(v - 1)]);
        ms += kBoundPerLineMs + qint64(r.Weight[size_t(i)].toDouble() /
                                       (std::max(rate, 1.0) * kBoundRateShare) * 1000);
    }
    ms += qint64(r.WaterAmount.toDouble() / kWaterRatePerSecond * 2000);
    return ms;
}

}  // namespace

QString SoakJob::describe() const {
    QStringList lines;
    for (int i = 0; i < JobRecord::kLines; ++i)
        if (!record.Code[size_t(i)].isEmpty() || !record.Weight[size_t(i)].isEmpty())
            lines << record.Code[size_t(i)] + QLatin1Char(':') + record.Weight[size_t(i)];
    return QStringLiteral("%1 bucket %2 water %3 [%4]%5")
        .arg(record.OrderNo, record.BucketNo, record.WaterAmount, lines.join(QLatin1Char(' ')),
             odd.isEmpty() ? QString() : QStringLiteral(" (odd: %1)").arg(odd));
}

SoakJob drawJob(std::mt19937& random, const SoakMachine& m, quint32 seed, int n, double queuedAt,
                bool odd) {
    SoakJob job;
    JobRecord& r = job.record;
    r.OrderNo = QStringLiteral("S%1-%2").arg(seed).arg(n);
    r.BucketNo =
        m.buckets[size_t(std::uniform_int_distribution<int>(0, int(m.buckets.size()) - 1)(random))];
    r.WaterAmount = drawWater(random);
    r.QueuedAt = queuedAt;
    const int lines = std::uniform_int_distribution<int>(1, 10)(random);
    QStringList taken;
    for (int i = 0; i < lines; ++i) {
        const QString weight = drawWeight(random);
        const QString code = drawCode(random, m, weight.toDouble(), taken);
        if (code.isEmpty()) continue;
        taken << code;
        r.Code[size_t(job.lineSlots.size())] = code;
        r.Weight[size_t(job.lineSlots.size())] = weight;
        job.lineSlots.push_back(int(job.lineSlots.size()));
    }
    // Every draw is made whether odd inputs are on or not, so that a seed's
    // other jobs and actions stay the same with --no-odd.
    const bool makeOdd = std::uniform_int_distribution<int>(0, 3)(random) == 0;
    const int kind = std::uniform_int_distribution<int>(0, 3)(random);
    const int pick = std::uniform_int_distribution<int>(0, 9)(random);
    const int whole = std::uniform_int_distribution<int>(0, 2)(random);
    const int part = std::uniform_int_distribution<int>(1, 999)(random);
    const int place = std::uniform_int_distribution<int>(0, 2)(random);
    if (odd && makeOdd && !job.lineSlots.empty()) {
        const int at = job.lineSlots[size_t(pick) % job.lineSlots.size()];
        if (kind == 0) {
            r.Weight[size_t(at)] = QStringLiteral("%1,%2").arg(whole).arg(part);
            job.odd = QStringLiteral("comma weight");
            job.setAside = true;
        } else if (kind == 1 && job.lineSlots.size() < size_t(JobRecord::kLines)) {
            // A blank row between two lines: the rows behind it move down.
            for (int i = JobRecord::kLines - 1; i > at; --i) {
                r.Code[size_t(i)] = r.Code[size_t(i - 1)];
                r.Weight[size_t(i)] = r.Weight[size_t(i - 1)];
            }
            r.Code[size_t(at)].clear();
            r.Weight[size_t(at)].clear();
            for (int& s : job.lineSlots)
                if (s >= at) ++s;
            job.odd = QStringLiteral("blank row");
            job.maySetAside = true;
        } else if (kind == 2) {
            r.Code[size_t(at)] = QStringLiteral("NOVALVE%1").arg(n);
            job.odd = QStringLiteral("unknown code");
            job.setAside = true;
        } else if (kind == 3 && m.type == 5) {
            // A code only the station of the other balance has.
            const int wanted = r.Weight[size_t(at)].toDouble() > m.threshold ? 1 : 2;
            for (int v = 1; v <= m.valveCount(); ++v) {
                const QString& code = m.codes[size_t(v - 1)];
                bool here = false;
                for (int u : m.valvesOf(code)) here = here || m.stationOf(u) == wanted;
                if (code.isEmpty() || here || m.stationOf(v) == wanted) continue;
                bool taken = false;
                for (int i = 0; i < JobRecord::kLines; ++i)
                    taken = taken || r.Code[size_t(i)] == code;
                if (taken) continue;
                r.Code[size_t(at)] = code;
                job.odd = QStringLiteral("code on the other station only");
                job.maySetAside = true;
                break;
            }
        } else if (kind == 3 && !m.twoBalances()) {
            const QString places[] = {QStringLiteral("99"), QStringLiteral("0"),
                                      QStringLiteral("abc")};
            r.BucketNo = places[place];
            job.odd = QStringLiteral("bucket with no place");
            job.setAside = true;
        }
    }
    job.boundMs = boundOf(m, r);
    return job;
}

QString queueJob(const QDir& workdir, const SoakJob& job) {
    JobFile queue = jobQueueFile(workdir);
    return queue.append(job.record) ? QString() : queue.errorString();
}

}  // namespace dye::soak
