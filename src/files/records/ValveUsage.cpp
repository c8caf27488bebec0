#include "ValveUsage.h"

#include <QHash>

#include <algorithm>
#include <cmath>

#include "core/AnsiText.h"
#include "core/Val.h"
#include "files/settings/MachineSettings.h"

namespace dye {
namespace {

// Beyond any real total; keeps a nonsense weight from overflowing the sum.
constexpr double kLimit = 1e15;

qint64 addRounded(qint64 total, double grams) {
    const double sum = double(total) + grams;
    if (std::isnan(sum)) return total;
    return std::llround(std::clamp(sum, -kLimit, kLimit));
}

// The leading-number value of a weight field. A plain ASCII field is parsed
// from one reused buffer, which spares an allocation per recipe line.
double weight(const RecordMonth& month, qsizetype row, int offset) {
    const QByteArrayView f = month.field(row, offset, DailyRecord::kShortWidth);
    thread_local QString text;
    text.resize(f.size());
    for (qsizetype i = 0; i < f.size(); ++i) {
        if (static_cast<uchar>(f[i]) >= 0x80) return Val(AnsiCodePage::decode(f));
        text[i] = QLatin1Char(f[i]);
    }
    return Val(text);
}

QString signedGrams(double grams) {
    const QString text = QString::number(grams, 'f', 2);
    return grams >= 0.0 && !text.startsWith(QLatin1Char('-')) ? QLatin1Char('+') + text : text;
}

}  // namespace

ValveUsageTable valveUsage(const RecordMonth& month, const RecordRows& rows,
                           const MachineSettings& settings) {
    // Code, in the code page's bytes, to the valves that carry it (a code may
    // be on more than one valve; each of them counts the line, as the totals
    // always have). A code the code page cannot hold is in no record.
    QHash<QByteArray, QList<int>> valvesOf;
    for (int k = 1; k <= 24; ++k) {
        const QString code = settings.valveCode(k).trimmed();
        const QByteArray bytes = AnsiCodePage::encode(code);
        if (!code.isEmpty() && AnsiCodePage::decode(bytes) == code) valvesOf[bytes].append(k - 1);
    }
    ValveUsageTable usage{};
    for (qsizetype r : rows) {
        for (int row = 0; row < DailyRecord::kRows; ++row) {
            const QByteArrayView code = month.field(
                r, DailyRecord::kAtCodes + row * DailyRecord::kCodeWidth, DailyRecord::kCodeWidth);
            if (code.isEmpty()) continue;
            // A view of the record's bytes as the key: no copy per line.
            const auto found =
                valvesOf.constFind(QByteArray::fromRawData(code.data(), code.size()));
            if (found == valvesOf.cend()) continue;
            const int actualAt = DailyRecord::kAtActualWeights + row * DailyRecord::kShortWidth;
            const double actual = weight(month, r, actualAt);
            // A row skipped at a no-flow alarm tells nothing of the valve's dosing.
            const bool skipped =
                month.field(r, actualAt, DailyRecord::kShortWidth).endsWith(QByteArrayView("SKIP"));
            const double difference =
                actual -
                weight(month, r, DailyRecord::kAtRecipeWeights + row * DailyRecord::kShortWidth);
            for (int k : *found) {
                ValveUsage& u = usage[size_t(k)];
                u.grams = addRounded(u.grams, actual);
                ++u.lines;
                if (std::isfinite(difference) && !skipped) {
                    u.differenceSum += difference;
                    if (std::fabs(difference) > std::fabs(u.largestDifference))
                        u.largestDifference = difference;
                }
            }
        }
    }
    return usage;
}

QString kilograms(qint64 grams) {
    const bool negative = grams < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(grams) : quint64(grams);
    QString text = QString::number(magnitude / 1000);
    if (const quint64 rest = magnitude % 1000) {
        QString fraction = QStringLiteral("%1").arg(rest, 3, 10, QLatin1Char('0'));
        while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
        text += QLatin1Char('.') + fraction;
    }
    return negative ? QLatin1Char('-') + text : text;
}

QStringList totalsLines(const ValveUsageTable& usage, const MachineSettings& settings) {
    QStringList lines;
    for (int k = 1; k <= 24; ++k)
        lines << QStringLiteral("%1   %2   %3   %4(KG)")
                     .arg(QString::number(k), settings.valveCode(k).trimmed(),
                          settings.valveName(k).trimmed(), kilograms(usage[size_t(k - 1)].grams));
    return lines;
}

QStringList differenceLines(const ValveUsageTable& usage, const MachineSettings& settings,
                            const ValveAllowanceTable* learned) {
    QStringList lines;
    for (int k = 1; k <= 24; ++k) {
        const ValveUsage& u = usage[size_t(k - 1)];
        QString line =
            QStringLiteral("%1   %2   lines %3")
                .arg(QString::number(k), settings.valveCode(k).trimmed(), QString::number(u.lines));
        if (u.lines > 0)
            line += QStringLiteral("   mean %1 g   largest %2 g")
                        .arg(signedGrams(u.meanDifference()), signedGrams(u.largestDifference));
        if (learned)
            line += QStringLiteral("   learned ") + allowanceText((*learned)[size_t(k - 1)]);
        lines << line;
    }
    return lines;
}

}  // namespace dye
