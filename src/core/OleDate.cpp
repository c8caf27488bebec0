#include "OleDate.h"

#include <cmath>

namespace dye {
namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
// The dates an OLE date can stand for: 1 January 100 (-657434) to
// 31 December 9999 (2958465), the time of day included.
constexpr double kBeforeFirstDay = -657435.0;
constexpr double kAfterLastDay = 2958466.0;
}  // namespace

double toOleDate(const QDateTime& dateTime) {
    const qint64 days = kEpoch.daysTo(dateTime.date());
    const double fraction = dateTime.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight, but
    // the sign of the whole value is negative (-1.25 is 29 Dec 1899 06:00).
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime fromOleDate(double oleDate) {
    // A value outside the range (a damaged record, a NaN) is no date; it
    // would not even fit the integer the whole days are counted in.
    if (!(oleDate > kBeforeFirstDay && oleDate < kAfterLastDay)) return QDateTime();
    const double whole = std::trunc(oleDate);
    const double fraction = std::fabs(oleDate - whole);
    qint64 ms = qint64(std::llround(fraction * kMsPerDay));
    QDate date = kEpoch.addDays(qint64(whole));
    if (ms >= qint64(kMsPerDay)) {
        ms -= qint64(kMsPerDay);
        date = date.addDays(1);
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

}  // namespace dye
