#include "RecordFolder.h"

#include <QFileInfo>

namespace dye {

bool ensureRecordFolder(const QDir& workdir, const QString& name, QString* error) {
    const QString path = workdir.filePath(name);
    if (QFileInfo(path).isDir() || workdir.mkdir(name)) return true;
    if (error) *error = QStringLiteral("cannot create the folder %1").arg(path);
    return false;
}

}  // namespace dye
