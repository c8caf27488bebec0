#include "run/RecordRoom.h"

#include <QFileInfo>
#include <QStorageInfo>

#include "files/jobs/JobFile.h"
#include "files/language/Wording.h"
#include "files/records/DailyRecord.h"
#include "files/records/DailyRecordFile.h"

namespace dye {
namespace {

// A record, the journal and a rewritten queue of a few hundred jobs.
constexpr qint64 kRoomNeeded = 1024 * 1024;

}  // namespace

QString whyNoRecordCanBeWritten(const QDir& workdir, int language) {
    const auto say = [language](const Wording& w) { return wordingIn(language, w); };
    const QFileInfo folder(workdir.filePath(QLatin1String(kDailyRecordFolder)));
    if (folder.exists() && !folder.isDir())
        return say({u"紀錄資料夾 %1 不是資料夾：在更正之前不接工作。",
                    u"The record folder %1 is not a folder: no job is taken until it is."})
            .arg(folder.filePath());
    if (folder.exists() && !folder.isWritable())
        return say({u"紀錄資料夾 %1 無法寫入：在可以寫入之前不接工作。",
                    u"The record folder %1 cannot be written: no job is taken until it can."})
            .arg(folder.filePath());
    const QFileInfo dir(workdir.absolutePath());
    if (!dir.isWritable())
        return say({u"工作資料夾 %1 無法寫入（佇列、工作日誌、紀錄）：在可以寫入之前不接工作。",
                    u"The working directory %1 cannot be written (queue, journal, records): no "
                    u"job is taken until it can."})
            .arg(dir.filePath());
    const QFileInfo queue(jobQueueFile(workdir).path());
    if (queue.exists() && queue.isFile() && !queue.isWritable())
        return say({u"佇列檔 %1 無法寫入：在可以寫入之前不接工作。",
                    u"The queue %1 cannot be written: no job is taken until it can."})
            .arg(queue.filePath());
    const QStorageInfo disk(workdir.absolutePath());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < kRoomNeeded)
        return say({u"%1 所在的磁碟已滿（剩 %2 位元組）：在有空間寫入紀錄之前不接工作。",
                    u"The disk of %1 is full (%2 bytes free): no job is taken until there is "
                    u"room for its record."})
            .arg(workdir.absolutePath())
            .arg(disk.bytesAvailable());
    return {};
}

}  // namespace dye
