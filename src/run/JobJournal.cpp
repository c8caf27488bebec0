#include "run/JobJournal.h"

#include <QFile>

#include <bit>
#include <cmath>

#include "core/FileSync.h"

namespace dye {
namespace {

constexpr char kFileName[] = "JOB_JOURNAL.txt";
constexpr char kRejectedName[] = "JOB_JOURNAL_REJECTED.txt";

QString number(double v) {
    return QString::number(v, 'g', 17);
}

// A queueing time as its bytes must match the queue record's: 17 digits
// give back every finite number; anything else is kept as its bit pattern.
QString timeText(double v) {
    if (std::isfinite(v)) return number(v);
    return QStringLiteral("0x%1").arg(std::bit_cast<quint64>(v), 16, 16, QLatin1Char('0'));
}

double timeOf(const QString& text) {
    if (!text.startsWith(QLatin1String("0x"))) return text.toDouble();
    return std::bit_cast<double>(text.mid(2).toULongLong(nullptr, 16));
}

}  // namespace

bool JournalState::anyKept() const {
    for (const auto& k : kept)
        if (k) return true;
    return false;
}

bool JournalState::started() const {
    if (anyKept() || meteringRow >= 0 || closed) return true;
    for (const LaneJournal& l : lanes)
        if (l.row >= 0 || l.base > 0) return true;
    return false;
}

QString JobJournal::path() const {
    return workdir_.filePath(QLatin1String(kFileName));
}

QString JobJournal::rejectedPath() const {
    return workdir_.filePath(QLatin1String(kRejectedName));
}

bool JobJournal::setAside(QString* error) const {
    QFile file(path());
    if (!file.exists()) return true;
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(path(), file.errorString()));
    const QByteArray bytes = file.readAll();
    file.close();
    QFile rejected(rejectedPath());
    if (!rejected.open(QIODevice::WriteOnly | QIODevice::Append) ||
        rejected.write(bytes) != bytes.size() || !syncToDisk(rejected))
        return fail(
            QStringLiteral("cannot write %1: %2").arg(rejectedPath(), rejected.errorString()));
    rejected.close();
    if (!file.remove())
        return fail(QStringLiteral("cannot remove %1: %2").arg(path(), file.errorString()));
    syncDirectory(path());
    return true;
}

// One item a line, tab-separated: "job", "water", "row", "metering",
// "lane", "closed", "recorded"; "end" closes a whole journal.
bool JobJournal::write(const JournalState& s, QString* error) const {
    QStringList lines;
    lines << QStringLiteral("job\t%1\t%2\t%3")
                 .arg(s.job.order, s.job.bucket, timeText(s.job.queuedAt));
    if (s.waterKnown)
        lines << QStringLiteral("water\t%1\t%2\t%3")
                     .arg(s.actualWater)
                     .arg(s.waterBase)
                     .arg(s.waterGiven);
    for (size_t r = 0; r < s.kept.size(); ++r)
        if (s.kept[r]) lines << QStringLiteral("row\t%1\t%2").arg(r).arg(*s.kept[r]);
    if (s.meteringRow >= 0)
        lines << QStringLiteral("metering\t%1\t%2\t%3")
                     .arg(s.meteringRow)
                     .arg(number(s.meteringZero), number(s.meteringSeen));
    for (size_t k = 0; s.twoLanes && k < s.lanes.size(); ++k) {
        const LaneJournal& l = s.lanes[k];
        lines << QStringLiteral("lane\t%1\t%2\t%3\t%4\t%5\t%6\t%7")
                     .arg(k + 1)
                     .arg(l.row)
                     .arg(l.metering ? 1 : 0)
                     .arg(number(l.zero), number(l.base), number(l.tared), number(l.seen));
    }
    if (s.closed) lines << QStringLiteral("closed\t%1").arg(s.actualWater);
    if (s.recorded) lines << QStringLiteral("recorded");
    lines << QStringLiteral("end");
    return writeFileAtomically(path(), (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
                               error);
}

std::optional<JournalState> JobJournal::read(QString* error) const {
    QFile file(path());
    if (!file.exists()) return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("cannot read %1: %2").arg(path(), file.errorString());
        return std::nullopt;
    }
    JournalState s;
    bool whole = false;
    bool haveJob = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char('\t'));
        const QString& key = f.value(0);
        if (key == QLatin1String("job") && f.size() == 4) {
            s.job = {f[1], f[2], timeOf(f[3])};
            haveJob = true;
        } else if (key == QLatin1String("water") && f.size() == 4) {
            s.waterKnown = true;
            s.actualWater = f[1];
            s.waterBase = f[2].toLongLong();
            s.waterGiven = f[3].toLongLong();
        } else if (key == QLatin1String("row") && f.size() == 3) {
            const int r = f[1].toInt();
            if (r >= 0 && r < int(s.kept.size())) s.kept[size_t(r)] = f[2];
        } else if (key == QLatin1String("metering") && (f.size() == 3 || f.size() == 4)) {
            s.meteringRow = f[1].toInt();
            s.meteringZero = f[2].toDouble();
            s.meteringSeen = f.value(3).toDouble();
        } else if (key == QLatin1String("lane") && (f.size() == 7 || f.size() == 8)) {
            const int k = f[1].toInt();
            if (k < 1 || k > int(s.lanes.size())) continue;
            s.twoLanes = true;
            s.lanes[size_t(k - 1)] = {f[2].toInt(),    f[3] == QLatin1String("1"),
                                      f[4].toDouble(), f[5].toDouble(),
                                      f[6].toDouble(), f.value(7).toDouble()};
        } else if (key == QLatin1String("closed") && f.size() == 2) {
            s.closed = true;
            s.actualWater = f[1];
        } else if (key == QLatin1String("recorded")) {
            s.recorded = true;
        } else if (key == QLatin1String("end")) {
            whole = true;
        }
    }
    // The file is only ever replaced whole; anything else was not written here.
    if (!whole || !haveJob) {
        if (error) *error = QStringLiteral("%1 is not a whole job journal").arg(path());
        return std::nullopt;
    }
    return s;
}

bool JobJournal::clear(QString* error) const {
    QFile file(path());
    if (!file.exists() || file.remove()) return true;
    if (error) *error = QStringLiteral("cannot remove %1: %2").arg(path(), file.errorString());
    return false;
}

}  // namespace dye
