#include "run/OrderListFeed.h"

#include <QStringBuilder>

#include "run/DispenseGrid.h"
#include "run/OrderListLoad.h"
#include "station/StationState.h"

namespace dye {

using namespace DispenseGrid;

void OrderListFeed::fill(StationState& s, int place) {
    const Form3& f = s.form3;
    Form11& o = s.form11;
    if (!o.Loaded) LoadOrderList(s);  // the run creates the window on first use
    o.Label1[1] = f.Label2.Caption.trimmed();
    o.Label1[2] = f.Label5.Caption.trimmed();
    o.Label1[3] = f.Label6.Caption.trimmed();
    o.Label1[4] = f.Label7.Caption.trimmed();
    o.Label1[5] = f.Label18[0].Caption;
    o.Label1[6] = f.Label18[1].Caption;
    o.Label1[7] = place > 0 ? QString::number(place) : QString();
    o.Label4 = f.Label22.Caption;
    o.List2.clear();
    for (int r = 0; r < kRows; ++r)
        if (!text(f, Code, r).trimmed().isEmpty()) o.List2.items << listLine(f, r);
}

void OrderListFeed::blink(Form3& f) {
    if (f.Label2.Caption.trimmed().isEmpty()) return;
    blinkCount_ = blinkCount_ > 30000 ? 10 : std::max(blinkCount_, 1) + 1;
    f.Label8.BackColor = blinkCount_ % 2 == 0 ? kBlinkYellow : kBlinkGreen;
}

const QString& OrderListFeed::listLine(const Form3& f, int row) {
    static_assert(std::tuple_size_v<decltype(lines_)> == kRows);
    static constexpr Column kShown[] = {Code, Name, RecipeWeight, ActualWeight, Tube, Balance};
    ListLine& line = lines_[size_t(row)];
    bool same = !line.text.isNull();
    for (size_t k = 0; k < line.from.size() && same; ++k)
        same = line.from[k] == cell(f, kShown[k], row).Caption;
    if (!same) {
        for (size_t k = 0; k < line.from.size(); ++k)
            line.from[k] = cell(f, kShown[k], row).Caption;
        const QLatin1StringView sep(" = ");
        const auto& t = line.from;
        line.text = t[0] % sep % t[1] % sep % t[2].trimmed() % sep % t[3] % sep % t[4] % sep % t[5];
    }
    return line.text;
}

}  // namespace dye
