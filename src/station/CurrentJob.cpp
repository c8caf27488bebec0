#include "station/CurrentJob.h"

#include "core/Val.h"
#include "core/WeightText.h"
#include "station/JobOnMachine.h"

namespace dye {

double JobRow::recipeWeight() const {
    return readWeight(recipe).value_or(0.0);
}

int JobRow::valve() const {
    return intWithin(Val(tube));
}

int CurrentJob::rowCount() const {
    int n = 0;
    for (const JobRow& r : rows)
        if (r.present()) ++n;
    return n;
}

double CurrentJob::waterAmount() const {
    return Val(water);
}

double CurrentJob::actualWaterValue() const {
    return Val(actualWater);
}

void JobOnMachine::shadeRows(RowShade shade) {
    for (JobRow& r : job_.rows) r.shade = shade;
}

void JobOnMachine::markWaterOff() {
    static const QLatin1String kOffMark(" OFF");
    if (!job_.actualWater.endsWith(kOffMark)) job_.actualWater += kOffMark;
}

}  // namespace dye
