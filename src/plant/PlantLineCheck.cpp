#include "plant/PlantLineCheck.h"

#include "files/jobs/JobRecord.h"
#include "files/jobs/RecipeCheck.h"

namespace dye {

QString plantLineProblem(int row, const QString& code, const QString& weight,
                         const MachineSettings& settings) {
    const QString c = code.trimmed();
    const QString w = weight.trimmed();
    const QString n = QString::number(row);
    if (c.isEmpty() && w.isEmpty())
        return QStringLiteral("row %1 has neither a code nor a weight").arg(n);
    if (QString why = lineProblem(row, c, w, settings, kEnglish); !why.isEmpty()) return why;
    const QString what = QStringLiteral("row %1: the").arg(n);
    if (QString why =
            fieldProblem(what + QStringLiteral(" code"), c, JobRecord::kCodeWidth, kEnglish);
        !why.isEmpty())
        return why;
    return fieldProblem(what + QStringLiteral(" weight"), w, JobRecord::kWeightWidth, kEnglish);
}

}  // namespace dye
