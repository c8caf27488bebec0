#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace dye {

// One row of the job on the machine, as its grid shows it.
struct StatusRow {
    enum class State { Waiting, Metering, Done };
    QString code;
    QString recipe;  // recipe weight as shown
    QString actual;  // actual weight as shown ("" before the row is metered)
    QString tube;
    QString balance;
    State state = State::Waiting;
};

// A message the operator has not yet acknowledged.
struct StatusAlarm {
    QString text;
    QString title;
    QDateTime since;  // station clock
};

struct StatusBalance {
    double weight = 0;  // kept from the last fresh reading
    bool read = false;  // a reading has been shown since the start
    bool fresh = false;
    bool overload = false;
};

struct StatusQueueEntry {
    QString order;
    QString bucket;
};

// What the status service shows: a copy of the station's state taken
// between two scheduler passes, so the service never touches the station.
struct StatusSnapshot {
    int machineType = 0;
    int language = 0;  // 0 Traditional Chinese, 1 English, 2 Simplified Chinese
    QDateTime now;     // station clock

    bool linkUp = false;
    bool linkUsable = false;
    QString linkReason;                   // why it was lost ("" while up)
    std::optional<QDateTime> lastAnswer;  // station clock
    int linkLosses = 0;

    QList<StatusAlarm> alarms;
    QString waitReason;  // why the run waits ("" when it can go on)
    QString runStatus;   // the run indicator's text

    // The job on the machine; an empty order means the machine is free.
    QString order;
    QString bucket;
    QString water;
    QString actualWater;
    QList<StatusRow> rows;

    QList<StatusQueueEntry> queue;  // the first jobs, as the screen lists them
    int queueMore = 0;              // jobs waiting beyond those listed
    int queueLength() const { return int(queue.size()) + queueMore; }

    std::array<StatusBalance, 2> balances{};

    int plantWaiting = 0;  // write-backs waiting for the plant database
};

inline const char* rowStateName(StatusRow::State state) {
    switch (state) {
        case StatusRow::State::Metering:
            return "metering";
        case StatusRow::State::Done:
            return "done";
        case StatusRow::State::Waiting:
            break;
    }
    return "waiting";
}

}  // namespace dye
