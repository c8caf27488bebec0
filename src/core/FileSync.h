#pragma once

#include <QByteArray>
#include <QString>

namespace dye {

// A point where a file is synced or renamed. The kill campaign
// (scripts/kill-soak) sets DYE_KILL_AT_SYNC=k to end the program at once, as a
// power cut would, at the k-th such point; otherwise it does nothing.
void syncPoint();

// Flushes what was written to `path` to the disk (the file must exist).
bool syncFile(const QString& path, QString* error = nullptr);

// Replaces `path` with `bytes` so that at every instant one whole file, old
// or new, exists: written to `path`.tmp, synced, renamed over the original,
// and the folder synced.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace dye
