#pragma once

#include <QList>
#include <QString>

#include "DailyRecord.h"

namespace dye {

// Whether a record matches the viewer's search text. "##" followed by two
// characters finds the records finished on that day of the month (characters
// 9 and 10 of the finish time; anything typed after the two is ignored, and
// "##5" finds nothing, the day always being two digits). Any other text
// finds the records whose order number, trimmed, equals it trimmed.
bool recordMatches(const DailyRecord& record, const QString& search);

// The records matching `search`, in file order.
QList<DailyRecord> searchRecords(const QList<DailyRecord>& records, const QString& search);

}  // namespace dye
