#pragma once

#include <QString>

#include "JobRecord.h"
#include "files/language/Wording.h"

namespace dye {

class MachineSettings;

// The checks every writer of an operator's job goes through before anything
// is written (save, modify, queue, single entry); the queue guard applies
// the row and bucket checks to every queued job before it is taken. Each
// returns "" when the job passes, else one message that names the field or
// row and what is wrong with it, in `language` (0 Traditional Chinese, 1
// English, 2 Simplified Chinese; kEnglish for texts that are logged or
// written).

// The order number, the water and the ten rows: an order number; the water
// passes waterProblem; every row that is not blank passes lineProblem; at
// least one line.
QString recipeProblem(const JobRecord& job, const MachineSettings& settings, int language);

// Text the record's fields cannot hold: a character the ANSI code page has
// no byte for, or more bytes than the field is wide. Such text would be
// stored as '?' or cut.
QString unstorableText(const JobRecord& job, int language);

// Why `text` cannot be stored in a field of `width` bytes ("" when it can):
// a character the code page has no byte for, or too many bytes. The text
// starts with `what`, which is in `language` too.
QString fieldProblem(const QString& what, const QString& text, int width, int language);

// A bucket the machine cannot reach: on types 1, 3 and 4 it must be one of
// the place names (the bucket is moved to the place it names), on the other
// types it must not be empty.
QString bucketProblem(const QString& bucket, const MachineSettings& settings, int language);

// The most grams a recipe line or a job's water may ask for: past it the
// balance (200000 counts) cannot weigh the bucket.
inline constexpr double kLargestAmount = 100000;

// Why a job's water amount cannot be given ("" when it can): blank or 0 is
// no water; otherwise a plain number of grams (as readWeight reads it) up to
// kLargestAmount. The text names the water, says what to do and ends
// without a full stop.
QString waterProblem(const QString& water, int language);

// Why row `row` (1..10) of a job cannot be dispensed ("" when it can, and
// when it is blank): a weight with no code, a code that no valve of the
// machine carries, or a weight that readWeight does not take (a comma
// included). The text starts with the row ("row N") and says what to do,
// without a full stop.
QString lineProblem(int row, const QString& code, const QString& weight,
                    const MachineSettings& settings, int language);

// `why` (a water or line problem) as a sentence of its own in `language`:
// capitalised, with its full stop.
QString asSentence(const QString& why, int language);

}  // namespace dye
