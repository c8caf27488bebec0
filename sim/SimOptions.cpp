#include "SimOptions.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "core/AnsiText.h"
#include "core/RecordFile.h"
#include "core/Val.h"

namespace dye {

namespace {

constexpr int kRecordLength = 200;

// A settings text, or nothing when the record is empty or the file is absent.
QString recordText(RecordFile& file, int n) {
    return getField(file.read(n), 0, kRecordLength);
}

}  // namespace

bool loadValveRates(const QString& dir, SimOptions& options) {
    const QString path = QDir(dir).filePath(QStringLiteral("AA_Name.txt"));
    if (!QFileInfo::exists(path)) return false;
    RecordFile file(path, kRecordLength);
    for (int v = 1; v <= 24; ++v) {
        const QString text = recordText(file, 24 + v);
        if (!text.isEmpty()) options.nominalRates[size_t(v - 1)] = Val(text);
    }
    return true;
}

bool loadMachineSettings(const QString& dir, SimOptions& options) {
    const QString path = QDir(dir).filePath(QStringLiteral("JUCIsetting.txt"));
    if (!QFileInfo::exists(path)) return false;
    RecordFile file(path, kRecordLength);
    const QString type = recordText(file, 6);
    const QString perStation = recordText(file, 12);
    if (!type.isEmpty()) options.machineType = int(ValInt(type));
    // An empty field, 0 or less is 5 valves per station, as the station reads it.
    const qint64 n = perStation.isEmpty() ? 5 : ValInt(perStation);
    options.valvesPerStation = n >= 1 ? int(std::min<qint64>(n, 24)) : 5;
    return true;
}

}  // namespace dye
