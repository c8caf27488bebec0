#include "app/StationLock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace dye {
namespace {

// A lock file that names no process is being written this instant, or was
// left by a program killed while writing it: after this long it is the latter.
constexpr qint64 kUnreadableLockMs = 5000;

}  // namespace

StationLock::StationLock(const QString& workdir)
    : path_(QDir(workdir).absoluteFilePath(QString::fromLatin1(kStationLockFileName))),
      lock_(path_) {
    // Only a lock whose process is gone is stale, never an old one.
    lock_.setStaleLockTime(0);
}

QString StationLock::holder() const {
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock_.getLockInfo(&pid, &host, &program)) return {};
    const QDateTime since = QFileInfo(path_).lastModified();
    return QStringLiteral("process %1 (%2) on host %3, started %4")
        .arg(QString::number(pid), program.isEmpty() ? QStringLiteral("?") : program,
             host.isEmpty() ? QStringLiteral("?") : host,
             since.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

bool StationLock::take() {
    refusal_.clear();
    warning_.clear();
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (lock_.tryLock(0)) return true;
        if (lock_.error() != QLockFile::LockFailedError) {
            warning_ = QStringLiteral(
                           "cannot make the lock file %1; a second station on this "
                           "folder would not be refused")
                           .arg(path_);
            return true;
        }
        const QString who = holder();
        if (!who.isEmpty()) {
            refusal_ = QStringLiteral(
                           "A station already works in %1: %2. Only one station may "
                           "work in a folder; close that one first, or give this one "
                           "another folder with --workdir. (Lock file: %3)")
                           .arg(QFileInfo(path_).absolutePath(), who, path_);
            return false;
        }
        const QDateTime written = QFileInfo(path_).lastModified();
        if (written.isValid() && written.msecsTo(QDateTime::currentDateTime()) > kUnreadableLockMs)
            lock_.removeStaleLockFile();
        else
            QThread::msleep(100);
    }
    refusal_ =
        QStringLiteral("The lock file %1 names no station and could not be taken over.").arg(path_);
    return false;
}

}  // namespace dye
