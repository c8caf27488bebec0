#include "AccessCode.h"

#include "core/Dialogs.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "station/StationState.h"

namespace dye {

bool askSettingsCode(const StationState& state, Dialogs& dialogs) {
    if (state.onMachine()) {
        dialogs.message(QStringLiteral("The settings cannot be opened while a job is on the "
                                       "machine; try again when it is done."),
                        QStringLiteral("SETTING"), [] {});
        return false;
    }
    const std::optional<QString> answer =
        dialogs.secretBox(QStringLiteral("enter password"), QStringLiteral("1"));
    if (!answer) return false;
    if (*answer == QLatin1String(kSettingsAccessCode)) return true;
    dialogs.message(
        wordingIn(state.settings.language(),
                  {u"密碼錯誤：設定未開啟。", u"Wrong password: the settings stay closed."}),
        QStringLiteral("SETTING"), [] {});
    return false;
}

}  // namespace dye
