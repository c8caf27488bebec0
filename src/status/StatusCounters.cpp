#include "status/StatusCounters.h"

#include <cmath>

#include "core/WeightText.h"
#include "run/JobCompletion.h"
#include "run/LineCheck.h"

namespace dye {

void StatusCounters::jobFinished(const FinishedJob& job, double tolerance) {
    ++jobs_;
    const qsizetype n = std::min(job.recipeWeights.size(), job.actualWeights.size());
    for (qsizetype i = 0; i < n; ++i) {
        ++lines_;
        // A weight that does not read as a number (never let through by the
        // queue guard) counts as a line, not as an error figure.
        const std::optional<double> recipe = readWeight(job.recipeWeights[i]);
        const double actual = readWeight(job.actualWeights[i]).value_or(0.0);
        if (!recipe) continue;
        if (lineOff(*recipe, actual, tolerance)) ++linesOff_;
        const double error = actual - *recipe;
        if (!std::isfinite(error)) continue;
        ++errors_;
        errorSum_ += error;
        for (size_t b = 0; b < kErrorBounds.size(); ++b)
            if (error <= kErrorBounds[b]) ++cumulative_[b];
    }
}

}  // namespace dye
