#pragma once

#include <QByteArray>
#include <QString>

class QFile;

namespace dye {

// A point where a file is synced or renamed. The kill campaign
// (scripts/kill-soak) sets DYE_KILL_AT_SYNC=k to end the program at once, as a
// power cut would, at the k-th such point; otherwise it does nothing.
void syncPoint();

// Flushes what was written to `file` and syncs it to the disk (a sync point).
bool syncToDisk(QFile& file);
// Syncs the folder holding `filePath`, so that a file created or renamed
// there stays after a power cut.
void syncDirectory(const QString& filePath);

// Replaces `path` with `bytes` so that at every instant one whole file, old
// or new, exists: written to `scratchPath` (`path`.tmp when empty), synced,
// renamed over the original, and the folder synced.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         const QString& scratchPath = QString());

}  // namespace dye
