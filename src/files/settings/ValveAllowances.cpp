#include "ValveAllowances.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>

#include "core/FileSync.h"

namespace dye {
namespace {

// First line, one line per valve, last line: a file without its last line
// was cut short.
constexpr char kHeader[] = "VALVE_LEARNED 1";
constexpr char kTrailer[] = "END 24";
constexpr int kFields = 11;  // valve, table rate, then value, spread, count of each quantity

QString number(double v) {
    return QString::number(v, 'g', 17);
}

bool parseValue(const QStringList& f, int at, LearnedValue& out) {
    bool ok1 = false, ok2 = false, ok3 = false;
    out.value = f[at].toDouble(&ok1);
    out.spread = f[at + 1].toDouble(&ok2);
    out.count = f[at + 2].toInt(&ok3);
    return ok1 && ok2 && ok3 && std::isfinite(out.value) && std::isfinite(out.spread) &&
           out.spread >= 0 && out.count >= 0;
}

// The table, or why the bytes are not a whole learned file.
QString parse(const QByteArray& bytes, ValveAllowanceTable& table) {
    const QStringList lines =
        QString::fromLatin1(bytes).split(QLatin1Char('\n'), Qt::KeepEmptyParts);
    // The header, 24 valves, the trailer and the empty rest after its newline.
    if (lines.size() != 27 || !lines.last().isEmpty())
        return QStringLiteral("it has %1 lines, not 26 ending with a newline")
            .arg(lines.size() - 1);
    if (lines[0] != QLatin1String(kHeader))
        return QStringLiteral("its first line is not ") + kHeader;
    if (lines[25] != QLatin1String(kTrailer))
        return QStringLiteral("its last line is not ") + kTrailer;
    for (int k = 1; k <= 24; ++k) {
        const QStringList f = lines[k].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ValveAllowance a;
        bool rateOk = false;
        if (f.size() == kFields) a.tableRate = f[1].toDouble(&rateOk);
        if (!rateOk || !std::isfinite(a.tableRate) || f[0] != QString::number(k) ||
            !parseValue(f, 2, a.rate) || !parseValue(f, 5, a.fall) || !parseValue(f, 8, a.dead))
            return QStringLiteral("line %1 (valve %2) is not a valve's learned values")
                .arg(k + 1)
                .arg(k);
        table[size_t(k - 1)] = a;
    }
    return {};
}

}  // namespace

QString loadValveAllowances(const QDir& workdir, ValveAllowanceTable& table) {
    table = {};
    const QString path = workdir.filePath(QLatin1String(kValveLearnedFileName));
    QFile file(path);
    if (!QFileInfo(path).isFile()) return {};
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 cannot be opened (%2): the valves meter by the table")
            .arg(kValveLearnedFileName, file.errorString());
    const QByteArray bytes = file.readAll();
    file.close();
    ValveAllowanceTable read{};
    const QString why = parse(bytes, read);
    if (why.isEmpty()) {
        table = read;
        return {};
    }
    // Set aside as it is: appended to the rejected file first, then removed,
    // so that a kill in between leaves the bytes in both, never in neither.
    const QString rejected = workdir.filePath(QLatin1String(kValveLearnedRejectedName));
    QFile aside(rejected);
    if (!aside.open(QIODevice::WriteOnly | QIODevice::Append) ||
        aside.write(bytes) != bytes.size() || !syncToDisk(aside))
        return QStringLiteral(
                   "%1 cannot be read (%2) and cannot be set aside: %3; the valves meter "
                   "by the table")
            .arg(kValveLearnedFileName, why, aside.errorString());
    aside.close();
    if (!file.remove())
        return QStringLiteral(
                   "%1 cannot be read (%2); it is copied to %3 but cannot be removed: "
                   "%4; the valves meter by the table")
            .arg(kValveLearnedFileName, why, kValveLearnedRejectedName, file.errorString());
    syncDirectory(path);
    return QStringLiteral(
               "%1 cannot be read (%2): moved to %3; the valves meter by the table "
               "until they are learned again")
        .arg(kValveLearnedFileName, why, kValveLearnedRejectedName);
}

bool readValveAllowances(const QDir& workdir, ValveAllowanceTable& table) {
    table = {};
    QFile file(workdir.filePath(QLatin1String(kValveLearnedFileName)));
    if (!file.open(QIODevice::ReadOnly)) return false;
    ValveAllowanceTable read{};
    if (!parse(file.readAll(), read).isEmpty()) return false;
    table = read;
    return true;
}

bool saveValveAllowances(const QDir& workdir, const ValveAllowanceTable& table, QString* error) {
    QByteArray bytes = QByteArray(kHeader) + '\n';
    for (int k = 1; k <= 24; ++k) {
        const ValveAllowance& a = table[size_t(k - 1)];
        QStringList f{QString::number(k), number(a.tableRate)};
        for (const LearnedValue* v : {&a.rate, &a.fall, &a.dead})
            f << number(v->value) << number(v->spread) << QString::number(v->count);
        bytes += f.join(QLatin1Char(' ')).toLatin1() + '\n';
    }
    bytes += QByteArray(kTrailer) + '\n';
    return writeFileAtomically(workdir.filePath(QLatin1String(kValveLearnedFileName)), bytes,
                               error);
}

QString allowanceText(const ValveAllowance& a) {
    if (!a.rate.known() && !a.fall.known() && !a.dead.known()) return QStringLiteral("not learned");
    QStringList parts;
    if (a.rate.known()) parts << QStringLiteral("rate %1/s").arg(a.rate.value, 0, 'f', 2);
    if (a.fall.known()) parts << QStringLiteral("fall %1").arg(a.fall.value, 0, 'f', 2);
    if (a.dead.known()) parts << QStringLiteral("dead %1 s").arg(a.dead.value, 0, 'f', 3);
    const int n = std::max({a.rate.count, a.fall.count, a.dead.count});
    return parts.join(QLatin1Char(' ')) + QStringLiteral(" (%1 measured)").arg(n);
}

}  // namespace dye
