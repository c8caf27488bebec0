#include "run/WaterLearning.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

#include "core/FileSync.h"
#include "core/NumberText.h"
#include "link/Registers.h"

namespace dye {
namespace {

constexpr char kFileName[] = "WATER_LEARNED.txt";
constexpr char kRejectedName[] = "WATER_LEARNED_REJECTED.txt";
constexpr double kOutlierSpreads = 4;
constexpr int kChangedAfter = 3;  // refused samples in a row that are a changed pipe
constexpr double kFollowShare = 0.3;
// The least deviation counted as an outlier: water is measured to a few units,
// and a rate to a share of itself.
constexpr double kLeastRunOnGate = 150;
constexpr double kLeastRateGate = 0.03;

// One robust step of a learned figure: true when the sample was taken.
bool learn(std::optional<double>& value, double& spread, int& samples, int& rejected, double sample,
           double leastGate) {
    if (value && samples >= 3) {
        const double gate = std::max(kOutlierSpreads * spread, leastGate);
        if (std::abs(sample - *value) > gate && ++rejected < kChangedAfter) return false;
        if (rejected >= kChangedAfter) {
            // The pipe has changed: start again from this sample.
            value.reset();
            samples = 0;
            spread = 0;
        }
    }
    rejected = 0;
    if (!value) {
        value = sample;
        samples = 1;
        return true;
    }
    ++samples;
    const double share = std::max(1.0 / samples, kFollowShare);
    const double deviation = std::abs(sample - *value);
    spread += share * (deviation - spread);
    *value += share * (sample - *value);
    return true;
}

}  // namespace

QString WaterLearning::path(const QDir& workdir) {
    return workdir.filePath(QLatin1String(kFileName));
}

QString WaterLearning::rejectedPath(const QDir& workdir) {
    return workdir.filePath(QLatin1String(kRejectedName));
}

PipeLearning WaterLearning::pipe(int reg) {
    load();
    return pipes_[reg];
}

void WaterLearning::learnRate(int reg, double rate) {
    load();
    PipeLearning& p = pipes_[reg];
    if (!std::isfinite(rate) || rate <= 0) return;
    if (!learn(p.rate, p.rateSpread, p.rateSamples, p.rateRejected, rate,
               kLeastRateGate * p.rate.value_or(rate)))
        log_(QStringLiteral("<water> D%1 rate %2 per s left out of the learning: the pipe has "
                            "given %3")
                 .arg(reg)
                 .arg(numberText(std::round(rate * 10) / 10),
                      numberText(std::round(*p.rate * 10) / 10)));
    save();
}

void WaterLearning::learnRunOn(int reg, double runOn) {
    load();
    PipeLearning& p = pipes_[reg];
    if (!std::isfinite(runOn)) return;
    if (!learn(p.runOn, p.runOnSpread, p.runOnSamples, p.runOnRejected, runOn, kLeastRunOnGate))
        log_(QStringLiteral("<water> D%1 run-on %2 left out of the learning: the pipe has "
                            "given %3")
                 .arg(reg)
                 .arg(numberText(std::round(runOn)), numberText(std::round(*p.runOn))));
    save();
}

// One pipe a line, tab-separated: "pipe", register, rate, rate spread, rate
// samples, rate refused, run-on, run-on spread, run-on samples, run-on
// refused (an unknown figure is "-"); "end" closes a whole file.
bool WaterLearning::load() {
    pipes_.clear();
    QFile file(path(workdir_));
    if (!file.exists()) return true;
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    file.close();
    bool whole = false;
    bool good = opened;
    std::map<int, PipeLearning> read;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        if (line.isEmpty()) continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.value(0) == QLatin1String("end") && f.size() == 1) {
            whole = true;
            continue;
        }
        bool ok = f.size() == 10 && f[0] == QLatin1String("pipe");
        const auto figure = [&](int k, std::optional<double>& v) {
            if (f.value(k) == QLatin1String("-")) return;
            bool fine = false;
            v = f.value(k).toDouble(&fine);
            ok = ok && fine && std::isfinite(*v);
        };
        const auto count = [&](int k) {
            bool fine = false;
            const int n = f.value(k).toInt(&fine);
            ok = ok && fine && n >= 0;
            return n;
        };
        const int reg = f.value(1).toInt();
        ok = ok && (reg == dye::reg::valve(1) || reg == dye::reg::WaterValve) && !whole;
        PipeLearning p;
        figure(2, p.rate);
        std::optional<double> spread;
        figure(3, spread);
        p.rateSpread = spread.value_or(0);
        p.rateSamples = count(4);
        p.rateRejected = count(5);
        figure(6, p.runOn);
        spread.reset();
        figure(7, spread);
        p.runOnSpread = spread.value_or(0);
        p.runOnSamples = count(8);
        p.runOnRejected = count(9);
        if (!ok || (p.rate && *p.rate <= 0)) {
            good = false;
            break;
        }
        read[reg] = p;
    }
    if (good && whole) {
        pipes_ = std::move(read);
        return true;
    }
    // Not a whole file of ours: kept aside as it is, and the described rule
    // applies until new figures are learned.
    QString why;
    QFile rejected(rejectedPath(workdir_));
    if (!opened) {
        why = QStringLiteral("cannot be read (%1)").arg(file.errorString());
    } else if (!rejected.open(QIODevice::WriteOnly | QIODevice::Append) ||
               rejected.write(bytes) != bytes.size() || !syncToDisk(rejected)) {
        why = QStringLiteral("cannot be set aside (%1)").arg(rejected.errorString());
    } else if (!file.remove()) {
        why =
            QStringLiteral("cannot be removed after it was set aside (%1)").arg(file.errorString());
    }
    if (why.isEmpty()) {
        syncDirectory(path(workdir_));
        log_(QStringLiteral("<water> %1 is not a whole file of learned water figures: set aside "
                            "as %2; the water is stopped by the described rule until the pipes "
                            "are learned again")
                 .arg(QLatin1String(kFileName), QLatin1String(kRejectedName)));
    } else {
        log_(QStringLiteral("<water> %1 is not usable and %2; the water is stopped by the "
                            "described rule")
                 .arg(QLatin1String(kFileName), why));
    }
    return false;
}

void WaterLearning::save() {
    const auto figure = [](const std::optional<double>& v) {
        return v ? QString::number(*v, 'g', 10) : QStringLiteral("-");
    };
    QStringList lines;
    for (const auto& [reg, p] : pipes_)
        lines << QStringLiteral("pipe\t%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9")
                     .arg(reg)
                     .arg(figure(p.rate), QString::number(p.rateSpread, 'g', 10))
                     .arg(p.rateSamples)
                     .arg(p.rateRejected)
                     .arg(figure(p.runOn), QString::number(p.runOnSpread, 'g', 10))
                     .arg(p.runOnSamples)
                     .arg(p.runOnRejected);
    lines << QStringLiteral("end");
    QString error;
    if (!writeFileAtomically(path(workdir_),
                             (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), &error))
        log_(QStringLiteral("<water> learned figures not kept: ") + error);
}

}  // namespace dye
