#pragma once

#include <QString>

namespace dye {

struct RunContext;
struct StationState;

// A line that ended with nothing in the bucket, or further off its recipe
// weight than the tolerance (settings field 7), is marked in the event log
// with its row, product and both weights, so that the record is never taken
// as a right dose unseen; a line with nothing in the bucket is also shown
// to the operator. True when the line was marked.
bool markLineOff(RunContext& c, int row, const QString& code, double recipe, double actual);

// A row the operator skipped at a no-flow alarm: told in the event log as
// not dosed, with what its bucket got; the actual weight's text, that
// whole number followed by " SKIP" (within the record's ten characters),
// so that readers still read the number and see the mark.
QString markRowSkipped(RunContext& c, int row, const QString& code, double recipe, double actual);

// The rule markLineOff applies: nothing in the bucket, or further off the
// recipe weight than `tolerance`.
bool lineOff(double recipe, double actual, double tolerance);
// The tolerance of a line (settings field 7, grams).
double lineTolerance(const StationState& s);

}  // namespace dye
