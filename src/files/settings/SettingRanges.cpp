#include "SettingRanges.h"

#include <cmath>

#include "MachineSettings.h"
#include "core/NumberText.h"

namespace dye {
namespace {

constexpr unsigned kAllTypes = 0;
constexpr unsigned type(int t) {
    return 1u << t;
}

// One numeric setting: the field, what it is, its least and largest value,
// whether it is a whole number, whether it may stay blank (the station then
// uses its default), and the machine types that read it (all when 0).
struct Range {
    int field;
    const char* what;
    double least;
    double most;
    bool whole;
    bool blankAllowed;
    unsigned types = kAllTypes;
};

// Why each range:
// - scan interval: below 45 ms the controller's answers overrun the next
//   request; above 500 ms the link health (1 s without an answer is a loss)
//   has too few answers to judge;
// - coefficient: the caption's 30..300 percent of the calibrated time;
// - machine type: the five machines the station drives;
// - bucket weight: what a bucket may hold before it is changed, read by the
//   two-balance machine's bucket watch (blank there changes the bucket at
//   once); at most a tonne;
// - tolerance: how close to its target a line ends; at 0 no metering ever
//   ends within it, above 20 small lines would be left short;
// - valves per station: 1..24 of the 24 valves (0 or blank: 5, as the
//   controller routes them);
// - Second CAL: the weight of the measured correction in percent; more than
//   150 would lengthen pulses past the target;
// - the coarse/fine threshold of type 5, the conveyor places of type 4 and
//   the balance factors: what the machines can have.
constexpr Range kRanges[] = {
    {1, "scan interval, ms", 45, 500, true, false},
    {2, "metering coefficient, %", 30, 300, false, false},
    {3, "bucket washes", 0, 20, true, true},
    {4, "wash water, seconds or a weight", 0, 100000, false, true},
    {5, "machine type", 1, 5, true, false},
    {6, "largest bucket weight", 1, 1000000, false, true},
    {6, "largest bucket weight", 1, 1000000, false, false, type(2)},
    {7, "metering tolerance", 0.01, 20, false, false},
    {9, "language", 0, 2, true, true},
    {11, "valves per station", 0, 24, true, true},
    {12, "delay after the pipe head rises", 0, 600, false, true},
    {18, "mixer on-time", 0, 200, false, true},
    {19, "Second CAL, %", 0, 150, false, true},
    {23, "extra wash water, seconds", 0, 600, false, true},
    {24, "conveyor places on the first side", 0, 26, true, true, type(4)},
    {25, "coarse/fine balance threshold", 0, 1000000, false, true, type(5)},
    {34, "balance 1 factor", 0.0001, 1000, false, true},
    {35, "balance 2 factor", 0.0001, 1000, false, true},
};

constexpr int kValves = MachineSettings::kValveCount;
constexpr Range kRate{0, "rate", 0.001, 1000, false, true};
constexpr Range kShortestOpening{0, "shortest opening, 1/100 s", 0, 100, true, true};

QString rangeText(const Range& r) {
    return QStringLiteral("%1%2 to %3")
        .arg(r.whole ? QStringLiteral("a whole number ") : QString(), numberText(r.least),
             numberText(r.most));
}

// Why `text` is not within `r` ("" when it is); `name` names the value.
QString outOfRange(const Range& r, const QString& name, const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        if (r.blankAllowed) return {};
        return QStringLiteral("%1 is blank; it must be %2").arg(name, rangeText(r));
    }
    bool number = false;
    const double v = t.toDouble(&number);
    const QString shown = t.left(20);
    if (!number || !std::isfinite(v))
        return QStringLiteral("%1 \"%2\" is not a number; it must be %3")
            .arg(name, shown, rangeText(r));
    if (v < r.least || v > r.most || (r.whole && v != std::trunc(v)))
        return QStringLiteral("%1 \"%2\" is not %3").arg(name, shown, rangeText(r));
    return {};
}

QString settingName(const Range& r) {
    return QStringLiteral("setting %1 (%2)").arg(r.field).arg(QLatin1String(r.what));
}

const Range* valveColumnRange(int k) {
    if (k >= kValves && k < 2 * kValves) return &kRate;
    if (k >= 3 * kValves && k < 4 * kValves) return &kShortestOpening;
    return nullptr;
}

QString valveFieldName(int k, const Range& r) {
    return QStringLiteral("the %1 of valve %2").arg(QLatin1String(r.what)).arg(k % kValves + 1);
}

}  // namespace

QString settingProblem(int field, const QString& text, int machineType) {
    for (const Range& r : kRanges) {
        if (r.field != field) continue;
        if (r.types != kAllTypes &&
            (machineType < 0 || machineType > 30 || (r.types & type(machineType)) == 0))
            continue;
        if (QString why = outOfRange(r, settingName(r), text); !why.isEmpty()) return why;
    }
    return {};
}

QString valveFieldProblem(int k, const QString& text) {
    const Range* r = valveColumnRange(k);
    return r ? outOfRange(*r, valveFieldName(k, *r), text) : QString();
}

QString valveProblem(const MachineSettings& settings, int valve) {
    if (valve < 1 || valve > kValves) return {};
    const QString code = settings.valveCode(valve).trimmed().left(20);
    if (code.isEmpty()) return {};
    const int rate = kValves + valve - 1;
    const QString rateText = settings.Text4(rate).trimmed();
    if (rateText.isEmpty())
        return QStringLiteral("valve %1 (%2) has no rate").arg(QString::number(valve), code);
    for (int k : {rate, 3 * kValves + valve - 1})
        if (QString why = valveFieldProblem(k, settings.Text4(k)); !why.isEmpty())
            return why + QStringLiteral(" (") + code + QLatin1Char(')');
    return {};
}

QStringList settingsProblems(const MachineSettings& settings) {
    QStringList lines;
    const int machineType = settings.machineType();
    for (int field = 0; field < MachineSettings::kFieldCount; ++field)
        if (QString why = settingProblem(field, settings.Text1(field), machineType); !why.isEmpty())
            lines << why;
    for (int k = 0; k < MachineSettings::kValveFieldCount; ++k)
        if (QString why = valveFieldProblem(k, settings.Text4(k)); !why.isEmpty()) lines << why;
    for (int valve = 1; valve <= kValves; ++valve)
        if (!settings.valveCode(valve).trimmed().isEmpty() &&
            settings.Text4(kValves + valve - 1).trimmed().isEmpty())
            lines << valveProblem(settings, valve);
    return lines;
}

QString undrivableReason(const MachineSettings& settings) {
    const int machineType = settings.machineType();
    for (int field = 0; field < MachineSettings::kFieldCount; ++field)
        if (QString why = settingProblem(field, settings.Text1(field), machineType); !why.isEmpty())
            return why;
    bool anyValve = false;
    for (int valve = 1; valve <= kValves; ++valve) {
        if (QString why = valveProblem(settings, valve); !why.isEmpty()) return why;
        anyValve = anyValve || !settings.valveCode(valve).trimmed().isEmpty();
    }
    if (!anyValve) return QStringLiteral("no valve of the valve table has a code and a rate");
    return {};
}

}  // namespace dye
