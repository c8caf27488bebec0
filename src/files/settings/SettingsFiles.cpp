#include "SettingsFiles.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>

#include "core/AnsiText.h"
#include "core/RecordFile.h"

namespace dye {
namespace {

constexpr int kTextRecordLength = 200;
constexpr int kSettingsScreenSlots = 25;
constexpr int kXCompensationRecord = MachineSettings::kTeachSlotCount + 1;
constexpr int kYCompensationRecord = MachineSettings::kTeachSlotCount + 2;

bool report(bool ok, const QString& why, QString* error) {
    if (!ok && error) *error = why;
    return ok;
}

// Loads `count` records of a text file and hands each to `store`.
template <typename Store>
bool loadTexts(TextRecordFile file, int count, Store store, QString* error) {
    QStringList texts;
    const bool ok = file.load(count, texts);
    for (int i = 0; i < count; ++i) store(i, ok ? texts[i] : QString());
    return report(ok, file.errorString(), error);
}

// Records of the file at `path` that hold at least one byte (a cut last
// record counts: its text is read as far as it goes); -1 when it is not a
// file.
int recordsPresent(const QString& path, int recordLength) {
    const QFileInfo info(path);
    if (!info.isFile()) return -1;
    return int(std::min<qint64>((info.size() + recordLength - 1) / recordLength, INT_MAX));
}

// "record 5" or "records 5..38"; `what` names one of them.
QString range(const QString& what, int first, int last) {
    return first == last ? QStringLiteral("%1 %2").arg(what).arg(first)
                         : QStringLiteral("%1s %2..%3").arg(what).arg(first).arg(last);
}

QString fileHolds(const char* name, int present, int count) {
    return QStringLiteral("%1 holds %2 of its %3 records: %4 missing, read as blank")
        .arg(QLatin1String(name))
        .arg(present)
        .arg(count)
        .arg(range(QStringLiteral("record"), present + 1, count) +
             (count - present == 1 ? QStringLiteral(" is") : QStringLiteral(" are")));
}

// The columns of the valve table a short file lacks: at most one column from
// some valve on, then whole columns, kept short enough for one event-log
// record.
QString missingValveColumns(int present) {
    constexpr int valves = MachineSettings::kValveCount;
    const char* const columns[] = {"code", "rate", "name", "shortest opening"};
    QStringList parts;
    QStringList whole;
    for (int c = 0; c < 4; ++c) {
        const int first = std::max(1, present - c * valves + 1);  // first valve lacking column c
        const QString column = QLatin1String(columns[c]);
        if (first == 1)
            whole.append(column);
        else if (first == valves)
            parts.append(QStringLiteral("the %1 of valve %2").arg(column).arg(valves));
        else if (first < valves)
            parts.append(
                QStringLiteral("the %1 of valves %2..%3").arg(column).arg(first).arg(valves));
    }
    if (!whole.isEmpty()) {
        const QString last = whole.takeLast();
        const QString list =
            whole.isEmpty() ? last
                            : whole.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
        parts.append(QStringLiteral("the %1 of every valve").arg(list));
    }
    return parts.join(QStringLiteral("; "));
}

// "records 2, 5 and 9" of the first `count` records of the file at `path`
// that hold bytes no text field holds; empty when there are none.
QString nonTextRecords(const QString& path, int count) {
    if (!QFileInfo(path).isFile()) return {};
    RecordFile file(path, kTextRecordLength);
    const QList<QByteArray> records = file.readRange(1, count);
    QStringList numbers;
    int more = 0;
    for (int r = 0; r < records.size(); ++r) {
        if (isStoredText(records[r])) continue;
        if (numbers.size() < 6)
            numbers << QString::number(r + 1);
        else
            ++more;
    }
    if (numbers.isEmpty()) return {};
    if (more > 0) numbers << QStringLiteral("%1 more").arg(more);
    const QString last = numbers.takeLast();
    return (numbers.isEmpty() ? QStringLiteral("record ")
                              : QStringLiteral("records ") + numbers.join(QStringLiteral(", ")) +
                                    QStringLiteral(" and ")) +
           last;
}

bool saveOne(TextRecordFile file, int index, int count, const QString& text, QString* error) {
    if (index < 0 || index >= count)
        return report(false, QStringLiteral("%1 has no field %2").arg(file.path()).arg(index),
                      error);
    return report(file.save(index + 1, text), file.errorString(), error);
}

}  // namespace

TextRecordFile settingsFieldFile(const QDir& workdir) {
    return TextRecordFile(workdir.filePath(kSettingsFileName), kTextRecordLength);
}
TextRecordFile valveTableFile(const QDir& workdir) {
    return TextRecordFile(workdir.filePath(kValveTableFileName), kTextRecordLength);
}
TextRecordFile teachYFile(const QDir& workdir) {
    return TextRecordFile(workdir.filePath(kTeachYFileName), kTeachFieldWidth);
}
TextRecordFile washTableFile(const QDir& workdir) {
    return TextRecordFile(workdir.filePath(kWashTableFileName), kTextRecordLength);
}

bool loadSettingsFields(const QDir& workdir, MachineSettings& settings, QString* error) {
    return loadTexts(
        settingsFieldFile(workdir), MachineSettings::kFieldCount,
        [&](int i, const QString& text) { settings.setText1(i, text); }, error);
}

bool loadValveTable(const QDir& workdir, MachineSettings& settings, QString* error) {
    return loadTexts(
        valveTableFile(workdir), MachineSettings::kValveFieldCount,
        [&](int k, const QString& text) { settings.setText4(k, text); }, error);
}

bool loadWashTable(const QDir& workdir, MachineSettings& settings, QString* error) {
    return loadTexts(
        washTableFile(workdir), MachineSettings::kWashFieldCount,
        [&](int i, const QString& text) { settings.setWashText(i, text); }, error);
}

bool loadTeachSlots(const QDir& workdir, MachineSettings& settings, QString* error) {
    constexpr int slotCount = MachineSettings::kTeachSlotCount;
    RecordFile xz(workdir.filePath(kTeachXZFileName), kTeachXZRecordLength);
    const QList<QByteArray> records = xz.readRange(1, slotCount);
    const bool xzOk = xz.errorString().isEmpty();
    QStringList ys;
    TextRecordFile yFile = teachYFile(workdir);
    const bool yOk = yFile.load(kYCompensationRecord, ys);
    for (int k = 1; k <= slotCount; ++k) {
        TeachSlot slot;
        if (xzOk) {
            const QByteArray& r = records[k - 1];
            slot.x = getField(r, 0, kTeachFieldWidth);
            slot.z = getField(r, kTeachFieldWidth, kTeachFieldWidth);
            slot.name = getField(r, 2 * kTeachFieldWidth, kTeachFieldWidth);
        }
        if (yOk) slot.y = ys[k - 1];
        settings.setTeachSlot(k, slot);
    }
    settings.setXCompensation(yOk ? ys[kXCompensationRecord - 1] : QString());
    settings.setYCompensation(yOk ? ys[kYCompensationRecord - 1] : QString());
    QStringList failures;
    if (!xzOk) failures.append(xz.errorString());
    if (!yOk) failures.append(yFile.errorString());
    return report(failures.isEmpty(), failures.join(QLatin1Char('\n')), error);
}

bool loadMachineSettings(const QDir& workdir, MachineSettings& settings, QString* error) {
    QStringList failures;
    auto run = [&](bool (*load)(const QDir&, MachineSettings&, QString*)) {
        QString why;
        if (!load(workdir, settings, &why)) failures.append(why);
    };
    run(loadSettingsFields);
    run(loadValveTable);
    run(loadTeachSlots);
    run(loadWashTable);
    return report(failures.isEmpty(), failures.join(QLatin1Char('\n')), error);
}

QStringList settingsFileFindings(const QDir& workdir) {
    QStringList lines;
    for (const auto& [name, count] :
         {std::pair{kSettingsFileName, MachineSettings::kFieldCount},
          std::pair{kValveTableFileName, MachineSettings::kValveFieldCount}}) {
        const QString path = workdir.filePath(QLatin1String(name));
        const qint64 size = QFileInfo(path).isFile() ? QFileInfo(path).size() : 0;
        if (size > qint64(count) * kTextRecordLength)
            lines.append(QStringLiteral("%1 is %2 bytes, longer than its %3 records of %4 bytes: "
                                        "what lies beyond record %3 is not read")
                             .arg(QLatin1String(name))
                             .arg(size)
                             .arg(count)
                             .arg(kTextRecordLength));
        if (const QString which = nonTextRecords(path, count); !which.isEmpty())
            lines.append(QStringLiteral("%1: bytes that are not text in %2; check them on the "
                                        "settings screen")
                             .arg(QLatin1String(name), which));
    }
    constexpr int fields = MachineSettings::kFieldCount;
    const int settings = recordsPresent(workdir.filePath(kSettingsFileName), kTextRecordLength);
    if (settings >= 0 && settings < fields)
        lines.append(fileHolds(kSettingsFileName, settings, fields) +
                     QStringLiteral(" (%1)").arg(
                         range(QStringLiteral("settings field"), settings, fields - 1)));
    constexpr int valveFields = MachineSettings::kValveFieldCount;
    const int valves = recordsPresent(workdir.filePath(kValveTableFileName), kTextRecordLength);
    if (valves >= 0 && valves < valveFields)
        lines.append(fileHolds(kValveTableFileName, valves, valveFields) +
                     QStringLiteral(" (%1)").arg(missingValveColumns(valves)));
    return lines;
}

bool saveSettingsField(const QDir& workdir, int i, const QString& text, QString* error) {
    return saveOne(settingsFieldFile(workdir), i, MachineSettings::kFieldCount, text, error);
}

bool saveValveField(const QDir& workdir, int k, const QString& text, QString* error) {
    return saveOne(valveTableFile(workdir), k, MachineSettings::kValveFieldCount, text, error);
}

bool saveWashField(const QDir& workdir, int i, const QString& text, QString* error) {
    return saveOne(washTableFile(workdir), i, MachineSettings::kWashFieldCount, text, error);
}

bool saveXCompensation(const QDir& workdir, const QString& text, QString* error) {
    TextRecordFile file = teachYFile(workdir);
    return report(file.save(kXCompensationRecord, text), file.errorString(), error);
}

bool saveYCompensation(const QDir& workdir, const QString& text, QString* error) {
    TextRecordFile file = teachYFile(workdir);
    return report(file.save(kYCompensationRecord, text), file.errorString(), error);
}

bool saveTeachSlots(const QDir& workdir, const MachineSettings& settings, TeachSlotScope scope,
                    QString* error) {
    const int last = scope == TeachSlotScope::SettingsScreen ? kSettingsScreenSlots
                                                             : MachineSettings::kTeachSlotCount;
    QByteArray block;
    QStringList ys;
    for (int k = 1; k <= last; ++k) {
        const TeachSlot slot = settings.teachSlot(k);
        block += toFixedField(trimSpaces(slot.x), kTeachFieldWidth);
        block += toFixedField(trimSpaces(slot.z), kTeachFieldWidth);
        block += toFixedField(trimSpaces(slot.name), kTeachFieldWidth);
        ys.append(slot.y);
    }
    if (!writeRecordRun(workdir.filePath(kTeachXZFileName), kTeachXZRecordLength, 1, block, error))
        return false;
    if (scope == TeachSlotScope::SettingsScreen) return true;
    TextRecordFile yFile = teachYFile(workdir);
    return report(yFile.saveRun(1, ys), yFile.errorString(), error);
}

}  // namespace dye
