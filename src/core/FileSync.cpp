#include "FileSync.h"

#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dye {
namespace {

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

void syncFolderOf(const QString& path) {
#ifdef Q_OS_UNIX
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

}  // namespace

void syncPoint() {
    static const int killAt = qEnvironmentVariableIntValue("DYE_KILL_AT_SYNC");
    static int reached = 0;
    if (killAt > 0 && ++reached == killAt) std::_Exit(137);
}

bool syncFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return fail(error, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    syncPoint();
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) return fail(error, QStringLiteral("cannot sync %1").arg(path));
#endif
    syncFolderOf(path);
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const QString scratch = path + QStringLiteral(".tmp");
    QFile file(scratch);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, QStringLiteral("cannot create %1: %2").arg(scratch, file.errorString()));
    bool ok = file.write(bytes) == bytes.size() && file.flush();
#ifdef Q_OS_UNIX
    ok = ok && ::fsync(file.handle()) == 0;
#endif
    const QString why = file.errorString();
    file.close();
    if (!ok) {
        QFile::remove(scratch);
        return fail(error, QStringLiteral("cannot write %1: %2").arg(scratch, why));
    }
    syncPoint();
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(scratch).toStdString(),
                            QFile::encodeName(path).toStdString(), ec);
    if (ec) {
        QFile::remove(scratch);
        return fail(error, QStringLiteral("cannot replace %1: %2")
                               .arg(path, QString::fromStdString(ec.message())));
    }
    syncFolderOf(path);
    return true;
}

}  // namespace dye
