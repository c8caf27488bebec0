#include "AccessCode.h"

#include "core/Dialogs.h"
#include "station/StationState.h"

namespace dye {

bool askSettingsCode(const StationState& state, Dialogs& dialogs) {
    if (state.TransferActive != 0) {
        dialogs.message(QStringLiteral("The settings cannot be opened while a job is on the "
                                       "machine; try again when it is done."),
                        QStringLiteral("SETTING"), [] {});
        return false;
    }
    const std::optional<QString> answer =
        dialogs.inputBox(QStringLiteral("enter password"), QStringLiteral("1"));
    return answer && *answer == QLatin1String(kSettingsAccessCode);
}

}  // namespace dye
