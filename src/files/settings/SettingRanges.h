#pragma once

#include <QString>
#include <QStringList>

namespace dye {

class MachineSettings;

// The values the numeric settings and the valve table may take, from what
// each one means to the metering and the machine (one table, in
// SettingRanges.cpp). A value out of its range is named when the settings
// load and on the settings screen, refused when typed, and keeps the station
// from taking a job.

// Why `text` cannot be settings field `field` on a machine of type
// `machineType` ("" when it can, and for a field with no range). The text
// names the field, its value and its range.
QString settingProblem(int field, const QString& text, int machineType);

// Why `text` cannot be valve table field `k` (0..95): a rate (24..47) or a
// shortest opening (72..95) out of its range; codes and names take any text.
QString valveFieldProblem(int k, const QString& text);

// Why valve `valve` (1..24) cannot be metered ("" when it can, and when it
// carries no code): a rate or a shortest opening out of range, no rate.
QString valveProblem(const MachineSettings& settings, int valve);

// Every value of the settings and the valve table that is out of its range,
// one line each, for the load report.
QStringList settingsProblems(const MachineSettings& settings);

// Why a station with these settings cannot drive the machine ("" when it
// can): a setting out of its range, a valve with a code that cannot be
// metered, or no valve with a code and a rate at all.
QString undrivableReason(const MachineSettings& settings);

}  // namespace dye
