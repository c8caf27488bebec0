#pragma once

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>

#include "files/jobs/JobRecord.h"
#include "plant/PlantClaims.h"

namespace dye {

class PlantService;

// Appends `jobs` to the queue of `workdir`, all or none: when one cannot be
// appended, those appended before it are taken out again. Returns how many
// stay queued: all of them, none (with why in `error`), or, when the take-out
// failed as well, those that could not be taken out.
int appendAllOrNone(const QDir& workdir, const QList<JobRecord>& jobs, QString* error);

// Writes `status` (6 bytes) into the status field of drop record `record`
// (from 0) of the drop file at `path`, in place, flushed and synced.
bool writeDropStatus(const QString& path, qint64 record, const QByteArray& status,
                     QString* error = nullptr);

// The second half of a claim, on the station's thread: `jobs` (the claim's
// jobs, or those of them not yet queued) go into the queue all or none, and
// the claim's entry goes. When none can be queued the mark is taken back
// (VZT 2 -> 1, step 45 -> 44, the drop record's status as it was) and the
// entry goes once that is done; when the take-back fails, or some of the
// claim's jobs are queued already, the entry stays for the next start. False when the jobs are not
// all queued.
bool queueClaim(PlantService& plant, const PlantClaim& claim, const QList<JobRecord>& jobs);

// Removes the claim's entry; a failure is logged (the next start settles it).
void dropClaim(PlantService& plant, const PlantClaim& claim);

}  // namespace dye
