#pragma once

#include <QDir>
#include <QString>

#include "MachineSettings.h"
#include "TextRecordFile.h"

namespace dye {

// The settings files of the working directory and their record layouts.
inline constexpr char kSettingsFileName[] = "JUCIsetting.txt";   // 200-byte texts, 1..38
inline constexpr char kValveTableFileName[] = "AA_Name.txt";     // 200-byte texts, 1..96
inline constexpr char kTeachXZFileName[] = "XZ_Name.txt";        // X, Z, name: 3 x 20 bytes
inline constexpr char kTeachYFileName[] = "Y_Name.txt";          // 20-byte texts, 1..66
inline constexpr char kWashTableFileName[] = "WASHsetting.txt";  // 200-byte texts, 1..128
inline constexpr int kTeachFieldWidth = 20;
inline constexpr int kTeachXZRecordLength = 3 * kTeachFieldWidth;

TextRecordFile settingsFieldFile(const QDir& workdir);
TextRecordFile valveTableFile(const QDir& workdir);
TextRecordFile teachYFile(const QDir& workdir);
TextRecordFile washTableFile(const QDir& workdir);

// Loads read the files into `settings` (an absent file is created empty and
// its fields read empty). On failure the fields concerned are left empty and
// the reason is put in `error`; the other files still load.
bool loadSettingsFields(const QDir& workdir, MachineSettings& settings, QString* error = nullptr);
bool loadValveTable(const QDir& workdir, MachineSettings& settings, QString* error = nullptr);
// Teach slots 1..64 (XZ_Name.txt) with their Y and the two compensations (Y_Name.txt).
bool loadTeachSlots(const QDir& workdir, MachineSettings& settings, QString* error = nullptr);
bool loadWashTable(const QDir& workdir, MachineSettings& settings, QString* error = nullptr);
// All of the above; `error` collects every failure, one per line.
bool loadMachineSettings(const QDir& workdir, MachineSettings& settings, QString* error = nullptr);

// What is wrong with the shape of the settings file and the valve table, one
// line each: a file shorter than its records (naming the fields that read
// blank because of it), a file longer than its records (what lies beyond is
// not read), records holding bytes that are not text (random bytes, another
// program's data). Empty when both are whole; a file that is not there or
// cannot be read is left to the loads, which report it.
QStringList settingsFileFindings(const QDir& workdir);

// Saving one field writes its trimmed text into its record at once.
bool saveSettingsField(const QDir& workdir, int i, const QString& text, QString* error = nullptr);
bool saveValveField(const QDir& workdir, int k, const QString& text, QString* error = nullptr);
bool saveWashField(const QDir& workdir, int i, const QString& text, QString* error = nullptr);
bool saveXCompensation(const QDir& workdir, const QString& text, QString* error = nullptr);
bool saveYCompensation(const QDir& workdir, const QString& text, QString* error = nullptr);

// Which teach slots a save writes: the settings screen shows slots 1..25
// (X, Z, name); the position screen slots 1..64 with their Y as well.
enum class TeachSlotScope { SettingsScreen, PositionScreen };
bool saveTeachSlots(const QDir& workdir, const MachineSettings& settings, TeachSlotScope scope,
                    QString* error = nullptr);

}  // namespace dye
