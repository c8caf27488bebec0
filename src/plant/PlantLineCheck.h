#pragma once

#include <QString>

namespace dye {

class MachineSettings;

// Why a product line taken from the plant (a database row or a drop record
// item) cannot be dosed ("" when it can), by the rules of a typed recipe
// line: a code that a valve of the machine carries, a weight readWeight
// takes and up to kLargestAmount, both storable in the job's fields. A line
// with neither code nor weight is a fault too: the plant listed it. The text
// starts with "row N", N counting the lines as the plant gave them.
QString plantLineProblem(int row, const QString& code, const QString& weight,
                         const MachineSettings& settings);

}  // namespace dye
