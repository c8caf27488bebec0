#include "status/StatusProjection.h"

#include "core/Clock.h"
#include "core/Val.h"
#include "files/language/LangText.h"
#include "machine/StationPanel.h"
#include "plant/PlantService.h"
#include "run/RunLists.h"
#include "run/TransferSequence.h"
#include "run/TwoBalanceSequence.h"
#include "station/StationState.h"
#include "status/AlarmBoard.h"

namespace dye {
namespace {

bool twoBalanceMachine(int type) {
    return type == 2 || type == 5;
}

// The grid rows being metered now: the one-balance run's row while station
// 1 meters it, or each lane's row in progress.
std::array<bool, CurrentJob::kRows> meteringRows(const StatusSources& src) {
    std::array<bool, CurrentJob::kRows> out{};
    const StationState& s = src.state;
    if (twoBalanceMachine(s.machineType())) {
        for (int n : {1, 2}) {
            const int row = src.twoBalance.lane(n).current;
            if (row >= 0 && row < CurrentJob::kRows) out[size_t(row)] = true;
        }
    } else {
        const int row = src.transfer.rowStep() - 1;
        if (row >= 0 && row < CurrentJob::kRows && s.station[1].StationStep > 0)
            out[size_t(row)] = true;
    }
    return out;
}

void fillJob(const StatusSources& src, StatusSnapshot& out) {
    const CurrentJob& job = src.state.job.current();
    out.order = job.identity.order;
    if (out.order.isEmpty()) return;
    out.bucket = job.identity.bucket;
    out.water = job.water;
    out.actualWater = job.actualWater.trimmed();
    const auto metering = meteringRows(src);
    for (int r = 0; r < CurrentJob::kRows; ++r) {
        const JobRow& on = job.rows[size_t(r)];
        StatusRow row;
        row.code = on.code;
        if (row.code.isEmpty()) continue;
        row.recipe = on.recipe.trimmed();
        row.actual = on.actual.trimmed();
        row.tube = on.tube;
        row.balance = on.balance;
        if (metering[size_t(r)])
            row.state = StatusRow::State::Metering;
        else if (!row.actual.isEmpty() || on.shade == RowShade::Done)
            row.state = StatusRow::State::Done;
        out.rows << row;
    }
}

// The queue list: "order---bucket" per job, then a line naming how many more wait.
void fillQueue(const StationState& s, StatusSnapshot& out) {
    const ListBox& list = s.form3.List2;
    const qsizetype jobs = std::min(list.items.size(), list.ItemData.size());
    for (qsizetype i = 0; i < jobs; ++i) {
        const QString& item = list.items[i];
        const qsizetype sep = item.lastIndexOf(QLatin1String("---"));
        out.queue.append(sep < 0 ? StatusQueueEntry{item, QString()}
                                 : StatusQueueEntry{item.left(sep), item.mid(sep + 3)});
    }
    if (list.items.size() > jobs) out.queueMore = queueMoreCount(list.items.last());
}

void fillLink(const StatusSources& src, StatusSnapshot& out) {
    const LinkHealth& h = src.state.link.health;
    out.linkUp = h.up();
    out.linkUsable = h.usable();
    out.linkReason = h.reason();
    out.linkLosses = h.losses();
    if (h.lastAnswerMs() >= 0) out.lastAnswer = src.clock.start().addMSecs(h.lastAnswerMs());
}

}  // namespace

StatusSnapshot statusSnapshot(const StatusSources& src) {
    const StationState& s = src.state;
    StatusSnapshot out;
    out.machineType = s.machineType();
    out.language = LangText::validLanguage(s.settings.language());
    out.now = src.clock.now();
    fillLink(src, out);
    if (src.alarms) out.alarms = src.alarms->open();
    out.waitReason = s.run.waitReason;
    out.runStatus = s.run.indicator.trimmed();
    fillJob(src, out);
    fillQueue(s, out);
    for (int n : {1, 2}) {
        const BalanceInput& b = s.balance(n);
        StatusBalance& o = out.balances[size_t(n - 1)];
        o.weight = b.weight;
        o.fresh = b.fresh;
        o.overload = b.overload;
        o.read = !s.form2.Label2[StationPanel::of(n).readingIndex()].isEmpty();
    }
    // The main screen shows how many write-backs the last send left; one
    // waits at least while the outbox holds anything.
    const int shown = s.form3.PlantWaiting.section(QLatin1Char(' '), 0, 0).toInt();
    out.plantWaiting = src.plant.outboxWaiting() ? std::max(shown, 1) : 0;
    return out;
}

}  // namespace dye
