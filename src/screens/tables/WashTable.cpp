#include "WashTable.h"

#include "core/Dialogs.h"
#include "files/language/Wording.h"
#include "files/settings/SettingsFiles.h"
#include "model/Form10.h"

namespace dye {

WashTable::WashTable(Form10& form, MachineSettings& settings, Dialogs& dialogs, QDir workdir)
    : f_(form), settings_(settings), dialogs_(dialogs), workdir_(std::move(workdir)) {}

void WashTable::load() {
    for (int s = 0; s < Form10::kSlots; ++s) f_.Label1[s] = QString::number(s + 1);
    for (int i = 0; i < Form10::kBoxes; ++i) f_.Text1[i] = settings_.washText(i);
}

void WashTable::saveField(int i) {
    if (i < 0 || i >= Form10::kBoxes) return;
    QString error;
    if (!saveWashField(workdir_, i, f_.Text1[i], &error)) {
        dialogs_.message(wordingIn(settings_.language(), {u"洗桶表第 %1 格沒有存檔：%2",
                                                          u"Wash table box %1 was not saved: %2"})
                             .arg(i + 1)
                             .arg(error),
                         QString(), [] {});
        return;
    }
    f_.Text1[i] = trimSpaces(f_.Text1[i]);
    settings_.setWashText(i, f_.Text1[i]);
    if (i + 1 < Form10::kBoxes) {
        f_.ActiveControl = QStringLiteral("Text1_%1").arg(i + 1);
        ++f_.focusMoves;
    }
}

}  // namespace dye
