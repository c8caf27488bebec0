#pragma once

#include <QDate>
#include <QDir>
#include <QList>
#include <QString>

#include "files/jobs/JobRecord.h"

namespace dye {

class MachineSettings;

// The ZOLPOWDERS file-drop intake: the month's drop file in the intake
// folder (settings field 10) holds 932-byte records; the first record of the
// entered identifier not yet marked "A_OK" is marked and queued, its items
// with a check value and an amount, ten to a job. A drop record names no
// bucket: its jobs go to place 0, whose bucket name (the first teach slot)
// they carry. A record whose items or bucket the machine cannot dispense is
// not marked, and the problem says why.
struct DropIntakeResult {
    bool found = false;
    QList<JobRecord> jobs;
    QString problem;  // why nothing could be taken ("" when all went well or nothing matched)
};

// The drop file of `month`: the folder text, "\G", the year and the month, ".666".
QString dropFilePath(const QString& folderText, const QDir& workdir, const QDate& month);

// Takes the record: its claim goes into the claims file, its status bytes
// are written in place (nothing else of the file is touched, so the plant
// may append meanwhile), then the jobs (queued at `queuedAt`, a second
// apart) are appended to the queue, all or none; when none can be, the
// status goes back. The claim's entry goes once that is over.
DropIntakeResult takeDropRecord(const QString& path, const QString& identifier, const QDir& workdir,
                                const MachineSettings& settings, double queuedAt = 0.0);

}  // namespace dye
