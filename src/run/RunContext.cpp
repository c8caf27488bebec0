#include "run/RunContext.h"

#include "core/Val.h"
#include "language/LangText.h"
#include "station/StationState.h"

namespace dye {

QString RunContext::text(int k) const {
    return lang.text(intWithin(state.settings.number(9)), k);
}

}  // namespace dye
