#pragma once

#include <QString>

namespace dye {

// What a look at a file (no read) tells of its content: its identity, size
// and times. A write changes the size or the modification time, and a
// replacement by rename the identity, so two equal stamps mean the content
// was not changed in between (up to the file system's time resolution, for
// a rewrite of the same size).
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp fileStamp(const QString& path);

}  // namespace dye
