#pragma once

#include <QTextStream>

namespace dye {

struct CommandLine;

// dyestation --report FILE [--find TEXT] [--csv OUT]: the totals per valve of
// a month's record file (or of the records --find matches, by the viewer's
// search rules), each valve's lines and actual-minus-recipe differences, and
// optionally the records as CSV. The valve codes and names come from the
// valve table of the working directory. Returns the exit code: 0 done, 1
// when a file cannot be read or written.
int runConsumptionReport(const CommandLine& cl, QTextStream& out, QTextStream& err);

}  // namespace dye
