#include "run/LineCheck.h"

#include <cmath>

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "files/records/DailyRecord.h"
#include "run/RunContext.h"
#include "station/StationState.h"

namespace dye {
namespace {
const QLatin1String kSkipMark(" SKIP");
}  // namespace

QString markRowSkipped(RunContext& c, int row, const QString& code, double recipe, double actual) {
    c.log(QStringLiteral("<skip> row %1 (%2): not dosed, skipped at a no-flow alarm; %3 of %4 "
                         "in the bucket")
              .arg(QString::number(row + 1), code, numberText(actual), numberText(recipe)));
    QString number = numberText(actual);
    if (number.size() + kSkipMark.size() > DailyRecord::kShortWidth)
        number = QString::number(qRound(actual));
    return number + kSkipMark;
}

bool lineOff(double recipe, double actual, double tolerance) {
    return actual <= 0 || std::abs(actual - recipe) > tolerance;
}

double lineTolerance(const StationState& s) {
    return s.settings.number(SettingsField::Tolerance);
}

bool markLineOff(RunContext& c, int row, const QString& code, double recipe, double actual) {
    const double tolerance = lineTolerance(c.state);
    const double off = actual - recipe;
    if (!lineOff(recipe, actual, tolerance)) return false;
    c.log(QStringLiteral("<line off> row %1 (%2): %3 for %4, %5%6 outside the tolerance %7")
              .arg(QString::number(row + 1), code, numberText(actual), numberText(recipe),
                   off > 0 ? QStringLiteral("+") : QString(), numberText(off),
                   numberText(tolerance)));
    // A line with nothing in the bucket is no dose at all: the operator is told.
    if (actual <= 0)
        c.dialogs.message(c.say({u"單號 %1，第 %2 列（%3）：%4 g 完全沒有計量。此工作的紀錄"
                                 u"此列為 0；請手動計量或重新排入。",
                                 u"Job %1, row %2 (%3): nothing was metered for %4 g. The "
                                 u"job's record shows 0 for this line; meter it by hand "
                                 u"or queue it again."})
                              .arg(c.state.job.current().identity.order, QString::number(row + 1),
                                   code, numberText(recipe)),
                          QString(), [] {});
    return true;
}

}  // namespace dye
