#include "DyeMixTable.h"

#include <QDir>

#include "core/Dialogs.h"
#include "files/language/Wording.h"
#include "files/settings/MachineSettings.h"
#include "files/settings/MixFiles.h"
#include "model/Form14.h"

namespace dye {

DyeMixTable::DyeMixTable(Form14& form, const MachineSettings& settings, Dialogs& dialogs,
                         QDir workdir)
    : f_(form), settings_(settings), dialogs_(dialogs), workdir_(std::move(workdir)) {}

QString DyeMixTable::path() const {
    return dyeMixFilePath(workdir_, settings_.dyeMixFolder(), kDyeMixFileName);
}

void DyeMixTable::load() {
    f_.Label2 = QDir::toNativeSeparators(path());
    QStringList texts;
    QString error;
    const bool ok = loadDyeMix(path(), texts, &error);
    for (int i = 0; i < Form14::kEntries; ++i) {
        f_.Label1[i] = QString::number(i + 1);
        f_.Text1[i] = ok ? texts[i] : QString();
    }
    if (!ok)
        dialogs_.message(
            wordingIn(settings_.language(),
                      {u"染料混合表 %1 無法讀取：%2", u"The dye-mix table %1 cannot be read: %2"})
                .arg(f_.Label2, error),
            QString(), [] {});
}

void DyeMixTable::saveField(int i) {
    if (i < 0 || i >= Form14::kEntries) return;
    f_.Label2 = QDir::toNativeSeparators(path());
    QStringList texts;
    for (int k = 0; k < Form14::kEntries; ++k) texts << f_.Text1[k];
    QString error;
    if (!saveDyeMix(path(), texts, &error)) {
        dialogs_.message(
            wordingIn(settings_.language(),
                      {u"染料混合表 %1 沒有存檔：%2", u"The dye-mix table %1 was not saved: %2"})
                .arg(f_.Label2, error),
            QString(), [] {});
        return;
    }
    // Shown as stored: trimmed, and cut to the record's 30 bytes.
    if (loadDyeMix(path(), texts, &error))
        for (int k = 0; k < Form14::kEntries; ++k) f_.Text1[k] = texts[k];
    if (i + 1 < Form14::kEntries) {
        f_.ActiveControl = QStringLiteral("Text1_%1").arg(i + 1);
        ++f_.focusMoves;
    }
}

}  // namespace dye
