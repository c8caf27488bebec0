#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "plant/PlantStatement.h"

namespace dye {

struct CompletedJob;

// The site profile's statements at the end of a job, with their values: the
// job's order, bucket and tags, each grid row's code and weights, the finish
// time text of its record and `now` as text. Rows that cannot be written
// (an actual weight that is not a number) are left out with a line in
// `skipped`. Profiles without a write-back give none.
QList<PlantStatement> completionStatements(const QString& profile, const CompletedJob& job,
                                           const QString& finishText, const QString& now,
                                           QStringList* skipped);

// The MARIGOLD insert of one line (also the main screen's test insert).
PlantStatement marigoldInsert(const QString& vat, const QString& batch, const QString& intr,
                              const QString& now, const QString& code, const QString& recipeWeight,
                              const QString& actualWeight);

// The DRAYMOR status post of this machine.
PlantStatement draymorStatus(int activity, int queueLength, const QString& machineId);

// A number as the MARIGOLD insert writes it: the text's value (0 when it is
// not a number) in plain number form.
QString plainNumber(const QString& text);

}  // namespace dye
