#include "run/RecordRoom.h"

#include <QFileInfo>
#include <QStorageInfo>

#include "files/jobs/JobFile.h"
#include "files/records/DailyRecord.h"
#include "files/records/DailyRecordFile.h"

namespace dye {
namespace {

// A record, the journal and a rewritten queue of a few hundred jobs.
constexpr qint64 kRoomNeeded = 1024 * 1024;

}  // namespace

QString whyNoRecordCanBeWritten(const QDir& workdir) {
    const QFileInfo folder(workdir.filePath(QLatin1String(kDailyRecordFolder)));
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("The record folder %1 is not a folder: no job is taken until it is.")
            .arg(folder.filePath());
    if (folder.exists() && !folder.isWritable())
        return QStringLiteral(
                   "The record folder %1 cannot be written: no job is taken until it "
                   "can.")
            .arg(folder.filePath());
    const QFileInfo dir(workdir.absolutePath());
    if (!dir.isWritable())
        return QStringLiteral(
                   "The working directory %1 cannot be written (queue, journal, "
                   "records): no job is taken until it can.")
            .arg(dir.filePath());
    const QFileInfo queue(jobQueueFile(workdir).path());
    if (queue.exists() && queue.isFile() && !queue.isWritable())
        return QStringLiteral("The queue %1 cannot be written: no job is taken until it can.")
            .arg(queue.filePath());
    const QStorageInfo disk(workdir.absolutePath());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < kRoomNeeded)
        return QStringLiteral(
                   "The disk of %1 is full (%2 bytes free): no job is taken until "
                   "there is room for its record.")
            .arg(workdir.absolutePath())
            .arg(disk.bytesAvailable());
    return {};
}

}  // namespace dye
