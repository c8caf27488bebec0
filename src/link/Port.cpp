#include "Port.h"

#include <QStringList>

namespace dye {

std::optional<LineSettings> LineSettings::parse(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 4) return std::nullopt;
    bool ok[3] = {false, false, false};
    LineSettings s;
    s.baud = parts[0].trimmed().toInt(&ok[0]);
    const QString parity = parts[1].trimmed().toUpper();
    s.dataBits = parts[2].trimmed().toInt(&ok[1]);
    s.stopBits = parts[3].trimmed().toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || parity.size() != 1) return std::nullopt;
    s.parity = parity[0].toLatin1();
    if (!QByteArray("NEOMS").contains(s.parity)) return std::nullopt;
    if (s.baud <= 0 || s.dataBits < 5 || s.dataBits > 8 || s.stopBits < 1 || s.stopBits > 2)
        return std::nullopt;
    return s;
}

}  // namespace dye
