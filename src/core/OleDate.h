#pragma once

#include <QDateTime>

namespace dye {

// OLE Automation dates: whole days since 30 December 1899, the fraction the
// time of day. Local wall-clock time, as the records store it.
double toOleDate(const QDateTime& dateTime);
QDateTime fromOleDate(double oleDate);

}  // namespace dye
