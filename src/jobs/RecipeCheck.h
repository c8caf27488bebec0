#pragma once

#include <QString>

#include "jobs/JobRecord.h"

namespace dye {

class MachineSettings;

// The checks every writer of an operator's job goes through before anything
// is written (save, modify, queue, single entry). Each returns "" when the
// job passes, else one message that names the field or row and what is
// wrong with it.

// The order number and the ten rows: an order number; a code that is one of
// the valve codes; no code without a weight and no weight without a code;
// every weight a number above 0; at least one line.
QString recipeProblem(const JobRecord& job, const MachineSettings& settings);

// Text the record's fields cannot hold: a character the ANSI code page has
// no byte for, or more bytes than the field is wide. Such text would be
// stored as '?' or cut.
QString unstorableText(const JobRecord& job);

// A bucket the machine cannot reach: on types 1, 3 and 4 it must be one of
// the place names (the bucket is moved to the place it names), on the other
// types it must not be empty.
QString bucketProblem(const QString& bucket, const MachineSettings& settings);

// A weight as the operator typed it, read strictly: a plain decimal number
// (a comma or point as the decimal mark, spaces around ignored). Nothing
// else is a number here, so that "12kg" or "1,2,3" never becomes a weight.
bool readWeight(const QString& text, double* value);

}  // namespace dye
