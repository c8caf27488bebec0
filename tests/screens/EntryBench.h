#pragma once

#include <QTemporaryDir>

#include "core/HeadlessDialogs.h"
#include "core/Scheduler.h"
#include "files/jobs/JobFile.h"
#include "station/StationState.h"

namespace dye::test {

// The state, dialogs, clock and working directory the entry screens work
// with: a type 1 machine with three valves and three named places.
struct EntryBench {
    QTemporaryDir dir;
    Scheduler scheduler;
    HeadlessDialogs dialogs{scheduler};
    StationState state;
    QDateTime now{QDate(2026, 3, 14), QTime(9, 26, 53)};

    EntryBench() {
        state.settings.setText1(5, QStringLiteral("1"));
        state.settings.setText1(9, QStringLiteral("1"));  // English
        valve(1, QStringLiteral("R-101"), QStringLiteral("Red"));
        valve(2, QStringLiteral("Y-202"), QStringLiteral("Yellow"));
        valve(24, QStringLiteral("B-324"), QStringLiteral("Blue"));
        for (int slot : {1, 2, 5}) place(slot, QStringLiteral("P%1").arg(slot));
    }
    void valve(int n, const QString& code, const QString& name) {
        state.settings.setText4(n - 1, code);
        state.settings.setText4(48 + n - 1, name);
    }
    void place(int slot, const QString& name) {
        TeachSlot t = state.settings.teachSlot(slot);
        t.name = name;
        state.settings.setTeachSlot(slot, t);
    }
    QDir workdir() const { return QDir(dir.path()); }
    std::function<QDateTime()> clock() {
        return [this] { return now; };
    }
    QList<JobRecord> queued() { return jobQueueFile(workdir()).records(); }
    QString lastMessage() const {
        return dialogs.messages().isEmpty() ? QString() : dialogs.messages().last().text;
    }
};

}  // namespace dye::test
