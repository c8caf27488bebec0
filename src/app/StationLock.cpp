#include "app/StationLock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <signal.h>

#include <cerrno>
#endif

namespace dye {
namespace {

// A lock file that names no process is being written this instant, or was
// left by a program killed while writing it: after this long it is the latter.
constexpr qint64 kUnreadableLockMs = 5000;
// The same for the file that guards the removal of a stale lock.
constexpr int kUnreadableRemovalLockMs = 1000;

// True when `pid` on `host` is known to be gone (a process of this machine
// that no longer exists).
bool processGone(qint64 pid, const QString& host) {
    if (!host.isEmpty() && host != QSysInfo::machineHostName()) return false;
#ifdef Q_OS_UNIX
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
#else
    return false;
#endif
}

// The removal of a stale lock is guarded by a second lock file beside it;
// a station killed while holding that one would leave the folder locked by
// a process that is gone. Such a guard is taken over and released.
void releaseLeftRemovalGuard(const QString& lockPath) {
    QLockFile guard(lockPath + QStringLiteral(".rmlock"));
    guard.setStaleLockTime(kUnreadableRemovalLockMs);
    if (guard.tryLock(0)) guard.unlock();
}

}  // namespace

StationLock::StationLock(const QString& workdir)
    : path_(QDir(workdir).absoluteFilePath(QString::fromLatin1(kStationLockFileName))),
      lock_(path_) {
    // Only a lock whose process is gone is stale, never an old one.
    lock_.setStaleLockTime(0);
}

bool StationLock::take() {
    refusal_.clear();
    warning_.clear();
    qint64 pid = 0;
    QString host;
    QString program;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (lock_.tryLock(0)) return true;
        if (lock_.error() != QLockFile::LockFailedError) {
            warning_ = QStringLiteral(
                           "cannot make the lock file %1; a second station on this "
                           "folder would not be refused")
                           .arg(path_);
            return true;
        }
        pid = 0;
        if (lock_.getLockInfo(&pid, &host, &program)) {
            if (!processGone(pid, host)) {
                const QDateTime since = QFileInfo(path_).lastModified();
                refusal_ =
                    QStringLiteral(
                        "A station already works in %1: process %2 (%3) on host %4, started %5. "
                        "Only one station may work in a folder; close that one first, or give "
                        "this one another folder with --workdir. (Lock file: %6)")
                        .arg(QFileInfo(path_).absolutePath(), QString::number(pid),
                             program.isEmpty() ? QStringLiteral("?") : program,
                             host.isEmpty() ? QStringLiteral("?") : host,
                             since.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), path_);
                return false;
            }
            // Its station is gone, yet the lock was not taken over.
            releaseLeftRemovalGuard(path_);
        } else {
            const QDateTime written = QFileInfo(path_).lastModified();
            if (written.isValid() &&
                written.msecsTo(QDateTime::currentDateTime()) > kUnreadableLockMs)
                lock_.removeStaleLockFile();
        }
        QThread::msleep(100);
    }
    refusal_ = pid > 0 ? QStringLiteral(
                             "The lock file %1 was left by process %2, which no longer "
                             "runs, and could not be taken over; remove it.")
                             .arg(path_, QString::number(pid))
                       : QStringLiteral(
                             "The lock file %1 names no station and could not be "
                             "taken over; remove it.")
                             .arg(path_);
    return false;
}

}  // namespace dye
