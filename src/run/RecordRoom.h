#pragma once

#include <QDir>
#include <QString>

namespace dye {

// Why a job's record, its journal or the queue's rewrite could not be
// written now ("" when they can): the record folder is not a writable
// folder, the working directory or the queue file is read-only, or the disk
// has no room for them. No job is taken then, so that none is dispensed
// without its record. In `language`.
QString whyNoRecordCanBeWritten(const QDir& workdir, int language);

}  // namespace dye
