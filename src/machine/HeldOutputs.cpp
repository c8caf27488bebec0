#include "HeldOutputs.h"

namespace dye {

void HeldOutputs::set(int reg, qint32 value) {
    image_.set(reg, value);
    if (value == RegisterImage::RegNoValue || value <= 0)
        on_.erase(reg);
    else
        on_[reg] = On{value, seconds_};
}

QList<int> HeldOutputs::putBack() {
    QList<int> out;
    for (auto it = on_.begin(); it != on_.end();) {
        auto& [reg, on] = *it;
        const qint64 left =
            on.value >= kUntilClosed ? on.value : on.value - (seconds_ - on.since) * 100;
        if (left <= 0) {
            it = on_.erase(it);
            continue;
        }
        on = On{qint32(left), seconds_};
        image_.set(reg, on.value);
        out << reg;
        ++it;
    }
    return out;
}

}  // namespace dye
