#pragma once

#include <QString>

#include "MonthFiles.h"

namespace dye {

// The records of `month` that match the viewer's search text, in file
// order. "##" followed by a day of the month, with or without its leading
// zero ("##7" as "##07"), finds the records finished on that day (characters
// 9 and 10 of the finish time); anything typed after the day's digits is
// ignored. Any other text finds the records whose order number, trimmed,
// equals it trimmed, whatever the case of its letters. Always the whole
// month, never a previous result.
RecordRows searchMonth(const RecordMonth& month, const QString& search);

}  // namespace dye
