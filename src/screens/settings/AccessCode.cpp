#include "AccessCode.h"

#include "core/Dialogs.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "station/StationState.h"

namespace dye {

QString passwordPrompt(int language) {
    // The box's own line first; below it the same in the operator's language.
    const QString own = QStringLiteral("enter password");
    const QString said = wordingIn(language, {u"請輸入密碼", u"enter password"});
    return said == own ? own : own + QLatin1Char('\n') + said;
}

bool askSettingsCode(const StationState& state, Dialogs& dialogs) {
    if (state.onMachine()) {
        dialogs.message(state.say({u"機台上有工作時無法開啟設定；工作完成後再試。",
                                   u"The settings cannot be opened while a job is on the "
                                   u"machine; try again when it is done."}),
                        QStringLiteral("SETTING"), [] {});
        return false;
    }
    const std::optional<QString> answer =
        dialogs.secretBox(passwordPrompt(state.settings.language()), QStringLiteral("1"));
    if (!answer) return false;
    if (*answer == QLatin1String(kSettingsAccessCode)) return true;
    dialogs.message(
        state.say({u"密碼錯誤：設定未開啟。", u"Wrong password: the settings stay closed."}),
        QStringLiteral("SETTING"), [] {});
    return false;
}

}  // namespace dye
