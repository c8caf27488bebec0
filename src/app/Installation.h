#pragma once

#include <QDir>
#include <QStringList>

namespace dye {

// The folder of the files a new station ships with (language file, sample
// settings and valve table, sample recipes); empty when none is found.
QString installationFolder();

// Copies every installation file missing from the working directory into it
// (existing files are never touched). Returns the names copied.
QStringList seedInstallationFiles(const QDir& workdir);

}  // namespace dye
