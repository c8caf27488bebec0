#include "status/StatusProjection.h"

#include "core/Clock.h"
#include "core/Val.h"
#include "language/LangText.h"
#include "metering/StationPanel.h"
#include "plant/PlantService.h"
#include "run/DispenseGrid.h"
#include "run/RunLists.h"
#include "run/TransferSequence.h"
#include "run/TwoBalanceSequence.h"
#include "station/StationState.h"
#include "status/AlarmBoard.h"

namespace dye {
namespace {

constexpr int kLanguageField = 9;

bool twoBalanceMachine(int type) {
    return type == 2 || type == 5;
}

// The grid rows being metered now: the one-balance run's row while station
// 1 meters it, or each lane's row in progress.
std::array<bool, DispenseGrid::kRows> meteringRows(const StatusSources& src) {
    std::array<bool, DispenseGrid::kRows> out{};
    const StationState& s = src.state;
    if (twoBalanceMachine(s.machineType())) {
        for (int n : {1, 2}) {
            const int row = src.twoBalance.lane(n).current;
            if (row >= 0 && row < DispenseGrid::kRows) out[size_t(row)] = true;
        }
    } else {
        const int row = src.transfer.rowStep() - 1;
        if (row >= 0 && row < DispenseGrid::kRows && s.station[1].StationStep > 0)
            out[size_t(row)] = true;
    }
    return out;
}

void fillJob(const StatusSources& src, StatusSnapshot& out) {
    using namespace DispenseGrid;
    const Form3& f = src.state.form3;
    out.order = f.Label2.Caption.trimmed();
    if (out.order.isEmpty()) return;
    out.bucket = f.Label5.Caption.trimmed();
    out.water = f.Label6.Caption.trimmed();
    out.actualWater = f.Label7.Caption.trimmed();
    const auto metering = meteringRows(src);
    for (int r = 0; r < kRows; ++r) {
        StatusRow row;
        row.code = text(f, Code, r).trimmed();
        if (row.code.isEmpty()) continue;
        row.recipe = text(f, RecipeWeight, r).trimmed();
        row.actual = text(f, ActualWeight, r).trimmed();
        row.tube = text(f, Tube, r).trimmed();
        row.balance = text(f, Balance, r).trimmed();
        if (metering[size_t(r)])
            row.state = StatusRow::State::Metering;
        else if (!row.actual.isEmpty() || cell(f, Code, r).BackColor == kDoneGreen)
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
    out.language = LangText::validLanguage(intWithin(s.settings.number(kLanguageField)));
    out.now = src.clock.now();
    fillLink(src, out);
    if (src.alarms) out.alarms = src.alarms->open();
    out.waitReason = s.form3.Status;
    out.runStatus = s.form3.Label8.Caption.trimmed();
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
