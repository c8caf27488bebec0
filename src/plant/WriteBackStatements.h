#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "plant/PlantSession.h"
#include "plant/PlantStatement.h"

namespace dye {

struct CompletedJob;

// The site profile's statements at the end of a job, with their values: the
// job's order, bucket and tags, each grid row's code and weights and the
// finish time text of its record (the MARIGOLD insert's time is that moment
// too, so that the same job always gives the same statements). Rows that
// cannot be written (an actual weight that is not a number) are left out
// with a line in `skipped`. Profiles without a write-back give none.
QList<PlantStatement> completionStatements(const QString& profile, const CompletedJob& job,
                                           const QString& finishText, QStringList* skipped);

// A record's finish time text ("yyyy-MM-dd hh:mm:ss", or with "/" between the
// date's parts) as "yyyy-MM-dd hh:mm:ss"; any other text trimmed as it is.
QString finishMoment(const QString& finishText);

// Runs one completion statement. A MARIGOLD insert whose row the plant
// database already holds (as many times as the job has the line up to this
// one) is not run again: a kill between the database's commit and the
// outbox's rewrite sends it twice. It counts as applied, with a log line.
// The updates need no such look: a repeat changes nothing.
PlantResult applyCompletion(PlantSession& session, const PlantStatement& statement);

// The station's own text of a write-back statement of `kind` (empty for
// Other), and the kind whose text is exactly `text` (Other when none is).
QString completionText(StatementKind kind);
StatementKind completionKindOf(const QString& text);

// The write-back statement of `kind` with `values` and the station's own
// text; nothing when the values do not fit the kind (how many, a number
// where the statement takes a number and a text where it takes a text).
std::optional<PlantStatement> completionStatement(StatementKind kind, const QVariantList& values,
                                                  int earlier);

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
