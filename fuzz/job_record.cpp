// JobRecord reader and the job file's list texts: any bytes read without
// crashing, a record read back from its own bytes writes the same bytes, and a
// partial record at the end is moved aside without losing a byte.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/jobs/JobFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray once = dye::JobRecord::fromBytes(bytes).toBytes();
    if (once.size() != dye::JobRecord::kLength || !once.endsWith("\r\n")) std::abort();
    if (dye::JobRecord::fromBytes(once).toBytes() != once) std::abort();

    // The same bytes as a whole queue file.
    static QTemporaryDir dir;
    dye::JobFile file = dye::jobQueueFile(QDir(dir.path()));
    QFile raw(file.path());
    if (!raw.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    raw.write(bytes.toByteArray());
    raw.close();
    const int count = file.count();
    if (count != int(size / dye::JobRecord::kLength)) std::abort();
    if (file.queueListTexts().size() != count || file.recipeListTexts().size() != count)
        std::abort();
    if (count > 0 && !file.read(count)) std::abort();

    // A partial record at the end moves to the rejected file with its bytes
    // first; the queue keeps the whole records, unchanged.
    QFile::remove(file.rejectedPath());
    if (!file.setAsideTail()) std::abort();
    const qsizetype whole = qsizetype(count) * dye::JobRecord::kLength;
    QFile queue(file.path()), rejected(file.rejectedPath());
    if (!queue.open(QIODevice::ReadOnly) || queue.readAll() != bytes.first(whole).toByteArray())
        std::abort();
    if (qsizetype(size) > whole &&
        (!rejected.open(QIODevice::ReadOnly) ||
         !rejected.readAll().startsWith(bytes.sliced(whole).toByteArray())))
        std::abort();
    return 0;
}
