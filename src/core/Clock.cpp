#include "Clock.h"

#include "Scheduler.h"

namespace dye {

QDateTime Clock::now() const {
    return start_.addMSecs(scheduler_.now());
}

}  // namespace dye
