#include "screens/entry/SingleEntry.h"

#include "core/Dialogs.h"
#include "core/OleDate.h"
#include "files/jobs/JobFile.h"
#include "files/language/Wording.h"
#include "screens/entry/EditorFields.h"
#include "station/StationState.h"

namespace dye {
namespace {

constexpr int kEnter = 13;
// Between a valve's code and its name in the list.
const QString kCodeGap = QStringLiteral("     ");

}  // namespace

void SingleEntry::open() {
    fillLists();
    // Brought up again while it is open (F1 pressed twice), it keeps what is typed.
    if (!s_.form7.Visible) clearEntry();
    s_.form7.Visible = true;
}

void SingleEntry::fillLists() {
    Form7& f = s_.form7;
    const MachineSettings& settings = s_.settings;
    f.Combo1.items.clear();
    f.Combo2.items.clear();
    f.Combo3.items.clear();
    f.List1.clear();
    for (int valve = 1; valve <= MachineSettings::kValveCount; ++valve) {
        const QString code = settings.valveCode(valve).trimmed();
        if (!code.isEmpty()) {
            f.Combo1.items << code;
            f.List1.items << code + kCodeGap + settings.valveName(valve).trimmed();
        }
        // Written as the station writes numbers: a blank before
        // a positive number. The queued weight is trimmed.
        f.Combo2.items << QLatin1Char(' ') + QString::number(valve * 500);
    }
    // The places of teach slots 2..64, as this screen lists
    // them; an unnamed slot offers nothing to pick. A place can still be typed.
    for (int slot = 2; slot <= MachineSettings::kTeachSlotCount; ++slot) {
        const QString name = settings.teachSlot(slot).name.trimmed();
        if (!name.isEmpty()) f.Combo3.items << name;
    }
    f.Combo3.dropDownHeight = 500;
}

void SingleEntry::clearEntry() {
    Form7& f = s_.form7;
    f.Combo1.Text.clear();
    f.Combo2.Text.clear();
    f.setFocus(QStringLiteral("Combo1"));
}

void SingleEntry::codeKey(int key) {
    if (key == kEnter) s_.form7.setFocus(QStringLiteral("Combo2"));
}

void SingleEntry::weightKey(int key) {
    if (key == kEnter) s_.form7.setFocus(QStringLiteral("Command1"));
}

void SingleEntry::lineClicked() {
    Form7& f = s_.form7;
    if (f.List1.ListIndex < 0 || f.List1.ListIndex >= f.List1.items.size()) return;
    const QString line = f.List1.items[f.List1.ListIndex];
    const qsizetype gap = line.indexOf(kCodeGap);
    f.Combo1.Text = gap < 0 ? line : line.left(gap);
    f.setFocus(QStringLiteral("Combo2"));
}

void SingleEntry::keypad(int index) {
    QString& weight = s_.form7.Combo2.Text;
    if (index >= 0 && index <= 9)
        weight = weight.trimmed() + QString::number(index);
    else if (index == 10 && !weight.isEmpty())
        weight.chop(1);
}

bool SingleEntry::queueEntry() {
    Form7& f = s_.form7;
    // A blank record: nothing of an earlier job (a plant intake's tags) may
    // reach a manual job.
    JobRecord job;
    job.OrderNo = QString::fromLatin1(kOrderNo);
    job.BucketNo = f.Combo3.Text.trimmed();
    job.Code[0] = f.Combo1.Text.trimmed();
    job.Weight[0] = f.Combo2.Text.trimmed();

    QString why = editorProblem(job, s_.settings);
    if (why.isEmpty()) {
        job.QueuedAt = toOleDate(now_());
        JobFile queue = jobQueueFile(workdir_);
        if (!queue.append(job))
            why = s_.say({u"工作沒有排入計量：%1", u"The job was not queued: %1"})
                      .arg(queue.errorString());
    }
    if (!why.isEmpty()) {
        dialogs_.message(why, f.Command1.Caption, [] {});
        return false;
    }
    f.Visible = false;
    return true;
}

}  // namespace dye
