#include "screens/main/MainScreen.h"

#include <QDir>

#include "core/Dialogs.h"
#include "core/Scheduler.h"
#include "core/Val.h"
#include "files/language/LangText.h"
#include "files/language/LanguageFile.h"
#include "files/language/Wording.h"
#include "files/records/EventLog.h"
#include "files/settings/MixFiles.h"
#include "link/ScanCycle.h"
#include "machine/HandWash.h"
#include "machine/MoveGuard.h"
#include "run/OrderListLoad.h"
#include "run/RunBlocked.h"
#include "run/RunLists.h"
#include "run/StateFileCheck.h"
#include "screens/main/ApplyLanguage.h"
#include "screens/main/RunControl.h"
#include "screens/settings/AccessCode.h"
#include "station/StationState.h"

namespace dye {

void MainScreen::load(const std::function<void()>& loadSettingsForm) {
    StationState& s = c_.state;
    Form3& f = s.form3;

    // The form's timers that run from the start: the job start, the status timer and the F1 key.
    s.timers.jobStart->setEnabled(true);
    if (s.timers.status) s.timers.status->setEnabled(true);
    s.timers.hotKeys->setEnabled(true);

    // The settings form (files, port, machine timers) and the other
    // always-loaded forms stay hidden for the program's life.
    if (loadSettingsForm) loadSettingsForm();
    s.form2.Visible = false;
    s.form9.Visible = false;

    // The check boxes on their tan ground, the intake poll counter at 1 and
    // settings field 21 on its palette colour.
    for (CheckBox* box : {&f.Check1, &f.Check2, &f.Check3, &f.Check4, &f.Check5, &f.Check6})
        box->BackColor = kCheckTan;
    f.Label13.Caption = QStringLiteral("1");
    f.Label14.Caption = s.settings.Text1(SettingsField::StationId);
    f.Label14.BackColor = paletteColor(intWithin(s.settings.number(SettingsField::StationId)));

    // Saved recipes, newest first; records that cannot be read are set aside.
    if (const Notice aside = setAsideUnreadableRecipes(c_.workdir, s.settings.language());
        !aside.isEmpty()) {
        c_.log(QStringLiteral("<load> ") + aside.logged);
        c_.dialogs.message(aside.shown, QStringLiteral("INPUT"), [] {});
    }
    if (const QString error = fillRecipeList(c_); !error.isEmpty())
        c_.log(QStringLiteral("<list> QUICK_A.txt not read: ") + error);

    // The language table the captions come from. Where language.txt has no
    // text the screens show the shipped captions, never a blank, and the
    // operator is told once.
    const QString lacking =
        c_.lang.load(c_.workdir.filePath(QLatin1String(LanguageFile::kFileName)));
    if (!lacking.isEmpty()) {
        c_.log(QStringLiteral("<load> ") + lacking);
        c_.dialogs.message(lacking, QStringLiteral("LANGUAGE"), [] {});
    }

    // Bucket flags and mix marks start cleared.
    QString error;
    if (!resetBucketFlags(c_.workdir, &error)) c_.log(QStringLiteral("<start> ") + error);
    if (!resetMixMarks(mixMarksPath(c_.workdir, s.settings), &error))
        c_.log(QStringLiteral("<start> ") + error);

    // Row numbers 1..10 beside the grid.
    for (int i = 1; i <= 10; ++i) {
        f.Label1[i - 1].Caption = QString::number(i);
        f.Label3[i - 1].Caption = QString::number(i);
    }

    // The bucket place names.
    f.Combo1.dropDownWidth = 100;
    f.Combo1.dropDownHeight = 500;
    f.Combo1.items.clear();
    for (int k = 1; k <= MachineSettings::kTeachSlotCount; ++k)
        f.Combo1.items << s.settings.teachSlot(k).name;

    // The machine pictures' timer.
    s.timers.pictures->setInterval(100);
    s.timers.pictures->setEnabled(true);

    // The run timer of the machine type.
    const int type = s.machineType();
    if (!armRunTimerOfType(s.timers, type))
        c_.log(QStringLiteral("<start> machine type not 1..5: no run armed"));
    s.run.waitReason = runBlockedReason(s);

    // MIX ON and WASH1 start ticked when settings fields 18 and 22 ask for it.
    if (s.settings.number(SettingsField::MixLevel) > 0) f.Check3.Value = true;
    if (s.settings.number(SettingsField::WashOnStart) > 0) f.Check4.Value = true;

    // The event log's folder.
    if (!c_.workdir.exists(QLatin1String(kLogFolder)) &&
        !c_.workdir.mkdir(QLatin1String(kLogFolder)))
        c_.log(QStringLiteral("<start> LOG folder cannot be created"));

    // Captions in the chosen language.
    ApplyLanguage();

    // Controls the machine type has no use for: the quick metering on types
    // 1 and 3, MIX ON on types 1 and 2 (the wash button follows the type in
    // the projection).
    if (type == 1 || type == 3) f.Command11.Enabled = false;
    if (type == 1 || type == 2) f.Check3.Enabled = false;

    // The plant-database intake poll of the MARIGOLD profile, once a second.
    if (s.settings.siteProfile() == SiteProfile::Marigold) {
        s.timers.intake->setInterval(1000);
        s.timers.intake->setEnabled(true);
    }

    // The diagnostic labels start hidden.
    for (Label* l : {&f.Label15, &f.Label16, &f.Label17, &f.Label19}) l->Visible = false;
}

void MainScreen::unload(const std::function<void()>& requestProgramEnd) {
    StationState& s = c_.state;
    InvalidateWriteSlots(s);
    s.form13.Visible = true;
    s.form13.Label1 += s.form3.Label14.Caption;
    if (requests_.showClosingNotice) requests_.showClosingNotice();
    if (requestProgramEnd) requestProgramEnd();
}

void MainScreen::askToClose(std::function<void()> unload) {
    // A job runs: it is on the machine and the run's timers are armed (a stop
    // disarms them; its journal keeps what is in the bucket for the next start).
    const bool runArmed = c_.state.timers.jobStart->enabled() ||
                          c_.state.timers.oneBalanceRun->enabled() ||
                          c_.state.timers.twoBalanceRun->enabled();
    if (!c_.state.onMachine() || !runArmed) {
        if (unload) unload();
        return;
    }
    if (closeAsked_) return;
    closeAsked_ = true;
    const int language = c_.state.settings.language();
    c_.dialogs.choose(
        wordingIn(language,
                  {u"工單 %1 正在機台上。關閉程式會停止它並關閉所有輸出；下次啟動時可在同一桶"
                   u"繼續。要關閉程式嗎？",
                   u"Job %1 is on the machine. Closing the program stops it and switches every "
                   u"output off; at the next start it can go on in the same bucket. Close the "
                   u"program?"})
            .arg(c_.state.job.current().identity.order),
        c_.state.form3.Caption, yesNo(language), [this, unload = std::move(unload)](int pick) {
            closeAsked_ = false;
            if (pick == 0 && unload) unload();
        });
}

void MainScreen::d985Clicked() {
    if (c_.state.form3.Check1.Value) c_.state.form2.Check2 = true;
}

void MainScreen::showRecords() {
    if (requests_.showRecordsViewer) requests_.showRecordsViewer();
    ApplyLanguage();
}

void MainScreen::showSettings() {
    c_.state.link.homingDelay = 0;
    c_.state.form2.Editable = false;
    c_.state.form2.Visible = true;
    if (requests_.showSettingsForm) requests_.showSettingsForm();
    ApplyLanguage();
}

void MainScreen::unlockSettings() {
    if (!askSettingsCode(c_.state, c_.dialogs)) return;
    c_.state.form2.Editable = true;
    c_.state.form2.Visible = true;
    if (requests_.showSettingsForm) requests_.showSettingsForm();
    ApplyLanguage();
}

void MainScreen::unlockPositions() {
    if (!askSettingsCode(c_.state, c_.dialogs)) return;
    c_.state.link.homingDelay = 0;
    c_.state.form9.Visible = true;
    if (requests_.showPositionScreen) requests_.showPositionScreen();
    ApplyLanguage();
}

void MainScreen::toggleTechnicianView() {
    Form3& f = c_.state.form3;
    if (!f.TechnicianView) {
        const std::optional<QString> code =
            c_.dialogs.secretBox(passwordPrompt(c_.state.settings.language()), QStringLiteral("1"));
        if (!code) return;
        if (*code != QLatin1String(kSettingsAccessCode)) {
            c_.dialogs.message(c_.state.say({u"密碼錯誤：技術人員畫面未開啟。",
                                             u"Wrong password: the technician view stays closed."}),
                               f.technician.Caption, [] {});
            return;
        }
    }
    f.TechnicianView = !f.TechnicianView;
    f.Command13.Visible = f.TechnicianView;
}

void MainScreen::showLanguageEditor() {
    if (requests_.showLanguageEditor) requests_.showLanguageEditor();
}

void MainScreen::quickMetering() {
    const std::optional<QString> code = c_.dialogs.secretBox(QStringLiteral("password"), QString());
    if (!code || *code != QLatin1String(kQuickMeteringCode)) return;
    if (requests_.showSingleEntry) requests_.showSingleEntry();
    ApplyLanguage();
}

void MainScreen::requestWash() {
    requestHandWash(c_.state, c_.dialogs);
}

void MainScreen::showOrderListInstead() {
    fillOrderList();
    c_.state.form11.Visible = true;
    c_.state.form3.Visible = false;
    if (requests_.showOrderList) requests_.showOrderList();
}

void MainScreen::clearMixMarks() {
    c_.state.form3.Label13.Caption = QStringLiteral("0");
    const QString path = mixMarksPath(c_.workdir, c_.state.settings);
    QString error;
    if (!resetMixMarks(path, &error))
        c_.log(QStringLiteral("<mix> the mix marks of %1 are not cleared: %2").arg(path, error));
    if (mixers_.restartMixCount) mixers_.restartMixCount();
}

void MainScreen::startIdleMixing() {
    c_.state.run.idleTicks = QStringLiteral("7200");
    if (mixers_.startIdleMixing) mixers_.startIdleMixing();
}

void MainScreen::fillOrderList() {
    LoadOrderList(c_.state);
}

void MainScreen::backFromOrderList() {
    c_.state.form11.Visible = false;
    closeOrderList();
}

void MainScreen::closeOrderList() {
    c_.state.form3.Visible = true;
    if (requests_.showMainScreen) requests_.showMainScreen();
}

void MainScreen::ApplyLanguage() {
    dye::ApplyLanguage(c_.state, c_.lang);
}

}  // namespace dye
