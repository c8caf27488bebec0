#pragma once

#include <QString>

#include "MonthFiles.h"

namespace dye {

// The records of `month` that match the viewer's search text, in file
// order. "##" followed by two characters finds the records finished on that
// day of the month (characters 9 and 10 of the finish time; anything typed
// after the two is ignored, and "##5" finds nothing, the day always being two
// digits). Any other text finds the records whose order number, trimmed,
// equals it trimmed. Always the whole month, never a previous result.
RecordRows searchMonth(const RecordMonth& month, const QString& search);

}  // namespace dye
