// DailyRecord reader and the month file reader: any bytes read without
// crashing, and a record read back from its own bytes writes the same bytes.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/records/DailyRecordFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const dye::DailyRecord record = dye::DailyRecord::fromBytes(bytes);
    const QByteArray once = record.toBytes();
    if (once.size() != dye::DailyRecord::kLength || !once.endsWith("\r\n")) std::abort();
    // The reserved bytes after the queueing time (528..535) stay zero.
    if (once.mid(536, 542) != QByteArray(542, '\0')) std::abort();
    if (dye::DailyRecord::fromBytes(once).toBytes() != once) std::abort();
    (void)record.finishTime();

    static QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("DATE_202601.txt"));
    QFile raw(path);
    if (!raw.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    raw.write(bytes.toByteArray());
    raw.close();
    QList<dye::DailyRecord> records;
    if (!dye::readDailyRecords(path, records)) std::abort();
    if (records.size() != qsizetype(size / dye::DailyRecord::kLength)) std::abort();
    return 0;
}
