#pragma once

#include <QDir>
#include <QStringList>

namespace dye {

// The folder of the files a new station ships with (language file, sample
// settings and valve table, sample recipes); empty when none is found.
QString installationFolder();

// Copies every installation file missing from the working directory into it
// (existing files are never touched); the sample queue only when asked.
// Returns the names copied.
QStringList seedInstallationFiles(const QDir& workdir, bool sampleQueue = true);

}  // namespace dye
