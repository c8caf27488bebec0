// MIX_C.txt reader on random bytes: always 30 marks, each the little-endian
// value of its record (0 where the file is short).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/settings/MixFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(QString::fromLatin1(dye::kMixMarksFileName));
    QFile raw(path);
    if (!raw.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    raw.write(reinterpret_cast<const char*>(data), qint64(size));
    raw.close();

    QList<qint16> marks;
    if (!dye::loadMixMarks(path, marks) || marks.size() != dye::kDyeMixEntryCount) std::abort();
    for (int m = 0; m < dye::kDyeMixEntryCount; ++m) {
        const size_t at = size_t(2 * m);
        const uint16_t low = at < size ? data[at] : 0;
        const uint16_t high = at + 1 < size ? data[at + 1] : 0;
        const qint16 expected = qint16(uint16_t(low | high << 8));
        if (marks[m] != expected) std::abort();
    }
    return 0;
}
