#pragma once

#include <QDateTime>

namespace dye {

// OLE Automation dates: whole days since 30 December 1899, the fraction the
// time of day. Local wall-clock time, as the records store it. Dates from
// the year 100 to 9999 are dates; any other value reads as no date (an
// invalid QDateTime).
double toOleDate(const QDateTime& dateTime);
QDateTime fromOleDate(double oleDate);

}  // namespace dye
