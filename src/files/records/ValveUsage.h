#pragma once

#include <QStringList>

#include <array>

#include "MonthFiles.h"
#include "files/settings/ValveAllowances.h"

namespace dye {

class MachineSettings;

// What one valve dispensed over a set of records.
struct ValveUsage {
    // Actual weights in grams, the sum rounded to whole grams at every
    // addition (a row of 12.6 adds 13).
    qint64 grams = 0;
    int lines = 0;  // recipe lines of this valve's code
    // Actual minus recipe weight over those lines, in grams: the sum, and
    // the largest by size with its sign.
    double differenceSum = 0.0;
    double largestDifference = 0.0;

    double meanDifference() const { return lines > 0 ? differenceSum / lines : 0.0; }
};

using ValveUsageTable = std::array<ValveUsage, 24>;  // [k - 1] is valve k

// Totals every recipe line of the records `rows` of `month` on the valves
// whose code (trimmed) equals the line's whole code (trimmed); blank lines
// count nowhere. The valve codes are those of the valve table in `settings`.
ValveUsageTable valveUsage(const RecordMonth& month, const RecordRows& rows,
                           const MachineSettings& settings);

// Grams as kilograms in plain decimal notation: 1250 is "1.25", 13 is
// "0.013", 0 is "0".
QString kilograms(qint64 grams);

// One line per valve 1..24: k, code, name and the total in kilograms,
// three spaces apart: "3   RED01   紅   1.25(KG)".
QStringList totalsLines(const ValveUsageTable& usage, const MachineSettings& settings);

// One line per valve 1..24 with its number of lines and the mean and largest
// difference between actual and recipe weight, and what the station has
// learned of the valve when `learned` is given:
// "3   RED01   lines 12   mean +0.25 g   largest -1.40 g   learned rate 41.80/s fall 2.10 ...".
QStringList differenceLines(const ValveUsageTable& usage, const MachineSettings& settings,
                            const ValveAllowanceTable* learned = nullptr);

}  // namespace dye
