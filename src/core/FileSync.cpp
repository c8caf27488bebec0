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

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

void syncPoint() {
    static const int killAt = qEnvironmentVariableIntValue("DYE_KILL_AT_SYNC");
    static int reached = 0;
    if (killAt > 0 && ++reached == killAt) std::_Exit(137);
}

bool syncToDisk(QFile& file) {
    if (!file.flush()) return false;
    syncPoint();
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

void syncDirectory(const QString& filePath) {
#ifdef Q_OS_UNIX
    const QByteArray dir = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(filePath);
#endif
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error,
                         const QString& scratchPath) {
    const QString scratch = scratchPath.isEmpty() ? path + QStringLiteral(".tmp") : scratchPath;
    QFile file(scratch);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, QStringLiteral("cannot create %1: %2").arg(scratch, file.errorString()));
    if (file.write(bytes) != bytes.size() || !syncToDisk(file)) {
        const QString why = file.errorString();
        file.close();
        QFile::remove(scratch);
        return fail(error, QStringLiteral("cannot write %1: %2").arg(scratch, why));
    }
    file.close();
    syncPoint();
    std::error_code ec;
    std::filesystem::rename(nativePath(scratch), nativePath(path), ec);
    if (ec) {
        QFile::remove(scratch);
        return fail(error, QStringLiteral("cannot replace %1: %2")
                               .arg(path, QString::fromStdString(ec.message())));
    }
    syncDirectory(path);
    return true;
}

}  // namespace dye
