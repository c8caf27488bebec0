#include "soak/SoakMachine.h"

#include <algorithm>

#include "app/Installation.h"
#include "files/settings/SettingsFiles.h"

namespace dye::soak {

std::vector<int> SoakMachine::valvesOf(const QString& code) const {
    std::vector<int> out;
    for (int v = 1; v <= 24; ++v)
        if (!codes[size_t(v - 1)].isEmpty() && codes[size_t(v - 1)] == code) out.push_back(v);
    return out;
}

QString SoakMachine::describe() const {
    QString text = QStringLiteral("type %1, %2 valves per station, tolerance %3")
                       .arg(type)
                       .arg(valvesPerStation)
                       .arg(tolerance);
    if (type == 2) text += QStringLiteral(", bucket limit %1").arg(bucketLimit);
    if (type == 5)
        text += QStringLiteral(", threshold %1%2")
                    .arg(threshold)
                    .arg(twins ? QStringLiteral(", twin valves") : QString());
    text += QStringLiteral(", rates off by up to %1 %").arg(rateError * 100, 0, 'f', 1);
    if (manualLaneButtons) text += QStringLiteral(", lane buttons pressed by hand");
    return text;
}

SoakMachine drawMachine(std::mt19937& random, int type) {
    SoakMachine m;
    m.type = type;
    const int perStation[] = {6, 8, 10, 12, 12, 12};
    m.valvesPerStation = perStation[std::uniform_int_distribution<int>(0, 5)(random)];
    m.tolerance = std::uniform_int_distribution<int>(1, 10)(random);
    if (type == 2) m.bucketLimit = std::uniform_int_distribution<int>(4, 30)(random) * 1000;
    if (type == 5) m.threshold = std::uniform_int_distribution<int>(20, 300)(random);
    m.rateError = std::uniform_real_distribution<double>(0.0, 0.10)(random);
    m.twins = type == 5 && std::uniform_int_distribution<int>(0, 9)(random) < 7;
    m.manualLaneButtons = m.twoBalances() && std::uniform_int_distribution<int>(0, 3)(random) == 0;
    for (int b = 1; b <= 8; ++b) m.buckets.push_back(QString::number(b));
    return m;
}

QString setUpMachine(const QDir& workdir, std::mt19937& random, SoakMachine& m) {
    if (seedInstallationFiles(workdir).isEmpty()) return QStringLiteral("no installation files");
    MachineSettings shipped;
    QString error;
    if (!loadValveTable(workdir, shipped, &error)) return error;
    for (int v = 1; v <= 24; ++v) {
        const bool fitted = v <= m.valveCount();
        m.codes[size_t(v - 1)] = fitted ? shipped.valveCode(v).trimmed() : QString();
        m.rates[size_t(v - 1)] = shipped.valveRate(v);
    }
    if (m.twins) {
        // Each station-1 valve's code also on the station-2 valve opposite, for
        // about half of them.
        for (int v = 1; v <= m.valvesPerStation && m.valvesPerStation + v <= 24; ++v)
            if (std::uniform_int_distribution<int>(0, 1)(random) == 1)
                m.codes[size_t(m.valvesPerStation + v - 1)] = m.codes[size_t(v - 1)];
    }
    // The shipped sample queue is not part of the shift.
    QFile::remove(workdir.filePath(QStringLiteral("START_DISPEN.txt")));
    const std::pair<int, QString> fields[] = {
        {5, QString::number(m.type)},       {11, QString::number(m.valvesPerStation)},
        {7, QString::number(m.tolerance)},  {6, QString::number(m.bucketLimit)},
        {25, QString::number(m.threshold)},
    };
    for (const auto& [i, text] : fields)
        if (!saveSettingsField(workdir, i, text, &error)) return error;
    // The valve table: codes on the valves the machine has only; on type 5
    // with twins, some station-2 valves carry a station-1 valve's code.
    for (int v = 1; v <= 24; ++v)
        if (!saveValveField(workdir, v - 1, m.codes[size_t(v - 1)], &error)) return error;
    return QString();
}

}  // namespace dye::soak
