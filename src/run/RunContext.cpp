#include "run/RunContext.h"

#include "core/Val.h"
#include "files/language/LangText.h"
#include "station/StationState.h"

namespace dye {

QString RunContext::text(int k) const {
    return lang.text(state.settings.language(), k);
}

QString RunContext::say(const Wording& w) const {
    return state.say(w);
}

}  // namespace dye
