#include "Installation.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "files/jobs/JobFile.h"

namespace dye {

QString installationFolder() {
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString bin = QCoreApplication::applicationDirPath();
        candidates << bin + QStringLiteral("/../../share")
                   << bin + QStringLiteral("/../share/dyestation");
    }
#ifdef DYE_SHARE_DIR
    candidates << QStringLiteral(DYE_SHARE_DIR);
#endif
    for (const QString& c : candidates)
        if (QFileInfo::exists(c + QStringLiteral("/language.txt"))) return QDir(c).absolutePath();
    return QString();
}

QStringList seedInstallationFiles(const QDir& workdir, bool sampleQueue) {
    QStringList copied;
    const QString from = installationFolder();
    if (from.isEmpty()) return copied;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        // The station's own files only: the text files at the top and the pictures.
        const bool topText =
            !relative.contains(QLatin1Char('/')) && relative.endsWith(QStringLiteral(".txt"));
        if (!topText && !relative.startsWith(QStringLiteral("pic1/"))) continue;
        if (!sampleQueue && relative == QLatin1String(kJobQueueFileName)) continue;
        const QString target = workdir.filePath(relative);
        if (QFileInfo::exists(target)) continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(source, target)) {
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
            copied << relative;
        }
    }
    return copied;
}

}  // namespace dye
