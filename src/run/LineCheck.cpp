#include "run/LineCheck.h"

#include <cmath>

#include "core/NumberText.h"
#include "run/RunContext.h"
#include "station/StationState.h"

namespace dye {
namespace {
constexpr int kToleranceField = 7;
}  // namespace

bool markLineOff(RunContext& c, int row, const QString& code, double recipe, double actual) {
    const double tolerance = c.state.settings.number(kToleranceField);
    const double off = actual - recipe;
    if (actual > 0 && std::abs(off) <= tolerance) return false;
    c.log(QStringLiteral("<line off> row %1 (%2): %3 for %4, %5%6 outside the tolerance %7")
              .arg(QString::number(row + 1), code, numberText(actual), numberText(recipe),
                   off > 0 ? QStringLiteral("+") : QString(), numberText(off),
                   numberText(tolerance)));
    return true;
}

}  // namespace dye
