#include "run/OrderListFeed.h"

#include <QStringBuilder>

#include "run/OrderListLoad.h"
#include "station/StationState.h"

namespace dye {

void OrderListFeed::fill(StationState& s, int place) {
    const CurrentJob& job = s.job.current();
    Form11& o = s.form11;
    if (!o.Loaded) LoadOrderList(s);  // the run creates the window on first use
    o.Label1[1] = job.identity.order;
    o.Label1[2] = job.identity.bucket;
    o.Label1[3] = job.water;
    o.Label1[4] = job.actualWater.trimmed();
    o.Label1[5] = job.extras[0];
    o.Label1[6] = job.extras[1];
    o.Label1[7] = place > 0 ? QString::number(place) : QString();
    o.Label4 = s.run.steps;
    o.List2.clear();
    for (int r = 0; r < CurrentJob::kRows; ++r)
        if (job.rows[size_t(r)].present()) o.List2.items << listLine(job.rows[size_t(r)], r);
}

void OrderListFeed::blink(StationState& s) {
    if (!s.job.loaded()) return;
    blinkCount_ = blinkCount_ > 30000 ? 10 : std::max(blinkCount_, 1) + 1;
    s.run.blink = blinkCount_ % 2 == 0 ? Blink::Yellow : Blink::Green;
}

const QString& OrderListFeed::listLine(const JobRow& row, int r) {
    static_assert(std::tuple_size_v<decltype(lines_)> == CurrentJob::kRows);
    ListLine& line = lines_[size_t(r)];
    const std::array<QString, 6> shown{row.code,   row.name, row.recipe,
                                       row.actual, row.tube, row.balance};
    if (line.text.isNull() || line.from != shown) {
        line.from = shown;
        const QLatin1StringView sep(" = ");
        const auto& t = line.from;
        line.text = t[0] % sep % t[1] % sep % t[2].trimmed() % sep % t[3] % sep % t[4] % sep % t[5];
    }
    return line.text;
}

}  // namespace dye
