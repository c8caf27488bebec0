#pragma once

#include <QDir>
#include <QString>

namespace dye {

// Makes sure the folder `name` exists inside the working directory (the
// working directory itself is never created). False plus a reason otherwise.
bool ensureRecordFolder(const QDir& workdir, const QString& name, QString* error);

}  // namespace dye
