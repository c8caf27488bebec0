#pragma once

#include <QString>

#include <functional>

namespace dye {

class Dialogs;
struct StationState;

// The washing sequence on Form2.Timer4 (1 s): a wash clock counting seconds,
// every action at a clock value relative to the wash water setting.
class WashSequence {
public:
    using Log = std::function<void(const QString&)>;
    WashSequence(StationState& state, Dialogs& dialogs, Log log);

    void tick();

private:
    StationState& s_;
    Dialogs& dialogs_;
    Log log_;
};

}  // namespace dye
