#include "soak/SoakOperator.h"

#include <algorithm>

#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "files/jobs/JobFile.h"
#include "sim/SimulatedController.h"
#include "soak/SoakMachine.h"

namespace dye::soak {

SoakOperator::SoakOperator(std::mt19937& random, const SoakMachine& m, qint64 shiftMs, bool on)
    : manualLanes_(m.manualLaneButtons), random_(random()) {
    const int count = std::uniform_int_distribution<int>(0, 4)(random);
    std::vector<Action> drawn;
    for (int i = 0; i < count; ++i) {
        Action a;
        a.at = std::uniform_int_distribution<qint64>(20'000,
                                                     std::max<qint64>(20'000, shiftMs / 2))(random);
        const int kind = std::uniform_int_distribution<int>(0, 6)(random);
        a.kind = kind < 3   ? Kind::Stop
                 : kind < 4 ? Kind::Wash
                 : kind < 6 ? Kind::Queue
                            : Kind::Delete;
        a.which = std::uniform_real_distribution<double>(0, 1)(random);
        a.fullStop = std::uniform_int_distribution<int>(0, 1)(random) == 1;
        a.pick = std::uniform_int_distribution<int>(0, 2)(random) == 2 ? 1 : 0;
        a.pauseMs = std::uniform_int_distribution<qint64>(2'000, 90'000)(random);
        drawn.push_back(a);
    }
    if (on) actions_ = drawn;
    std::sort(actions_.begin(), actions_.end(),
              [](const Action& a, const Action& b) { return a.at < b.at; });
}

QString SoakOperator::describe() const {
    QStringList parts;
    for (const Action& a : actions_) {
        const QString at = QString::number(a.at / 1000);
        if (a.kind == Kind::Stop)
            parts << QStringLiteral("%1 at %2 s, RUN %3 s later, %4")
                         .arg(a.fullStop ? "STOP" : "stop button", at)
                         .arg(a.pauseMs / 1000)
                         .arg(a.pick == 0 ? "same bucket" : "new bucket");
        else
            parts << QStringLiteral("%1 at %2 s")
                         .arg(a.kind == Kind::Wash ? "wash button" : "queue a job", at);
    }
    if (manualLanes_) parts << QStringLiteral("lane buttons by hand");
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral("; "));
}

void SoakOperator::attach(Station& station, const Hooks& hooks, QStringList& events) {
    HeadlessDialogs* d = station.headlessDialogs();
    d->setObserver([this, d, hooks, &events](const HeadlessDialogs::Message& m) {
        // The resume question, in whichever language the station speaks.
        if (!m.text.contains(QStringLiteral("was interrupted with rows in its bucket")) &&
            !m.text.contains(QStringLiteral("中斷時桶內已有")))
            return;
        if (pick_ == 1 && hooks.newBucket) hooks.newBucket();
        d->scriptChoices({pick_});
        events << QStringLiteral("operator: resume question answered: %1")
                      .arg(pick_ == 0 ? "same bucket" : "new bucket");
    });
}

void SoakOperator::step(qint64 ms, Station& station, const Hooks& hooks, QStringList& events) {
    if (stoppedUntil_ >= 0 && ms >= stoppedUntil_) {
        stoppedUntil_ = -1;
        station.runControl().runAll();
        events
            << QStringLiteral("operator: RUN (%1)").arg(pick_ == 0 ? "same bucket" : "new bucket");
    }
    while (next_ < actions_.size() && actions_[next_].at <= ms && stoppedUntil_ < 0) {
        const Action& a = actions_[next_++];
        if (a.kind == Kind::Stop) {
            if (a.fullStop)
                station.runControl().stopAll();
            else
                station.runControl().stopJob();
            stoppedUntil_ = ms + a.pauseMs;
            pick_ = a.pick;
            events << QStringLiteral("operator: %1").arg(a.fullStop ? "STOP" : "stop button");
        } else if (a.kind == Kind::Wash) {
            station.mainScreen().requestWash();
            events << QStringLiteral("operator: wash button");
        } else if (a.kind == Kind::Queue && hooks.queueJob) {
            hooks.queueJob();
            events << QStringLiteral("operator: a job queued");
        } else if (a.kind == Kind::Delete) {
            deleteQueued(a, station, hooks, events);
        }
    }
    pressLanes(ms, station, events);
}

void SoakOperator::pressLanes(qint64 ms, Station& station, QStringList& events) {
    if (!manualLanes_ || !station.simulator()) return;
    for (int lane = 1; lane <= 2; ++lane) {
        qint64& at = pressAt_[size_t(lane - 1)];
        if (!station.twoBalance().lane(lane).waiting) {
            at = -1;
            continue;
        }
        if (at < 0) at = ms + std::uniform_int_distribution<qint64>(1'000, 30'000)(random_);
        if (ms >= at) {
            station.simulator()->machine().pressLaneReady(lane);
            events << QStringLiteral("operator: lane %1 bucket ready").arg(lane);
            at = ms + 60'000;  // pressed again if the lane still waits a minute later
        }
    }
}

}  // namespace dye::soak

namespace dye::soak {

void SoakOperator::deleteQueued(const Action& a, Station& station, const Hooks& hooks,
                                QStringList& events) {
    // A click on a line of the queue list (which holds the list), then DELETE,
    // and Yes to the question that asks first.
    const int n = int(station.state.form3.List2.items.size());
    if (n == 0) return;
    const int index = std::min(n - 1, int(a.which * n));
    const QString shown = station.state.form3.List2.items[index];
    HeadlessDialogs& dialogs = *station.headlessDialogs();
    const int asked = int(dialogs.messages().size());
    station.queueEditor().queueClicked();
    station.state.form3.List2.ListIndex = index;
    station.queueEditor().deleteSelected();
    if (dialogs.messages().size() > asked && !dialogs.messages().last().choices.isEmpty())
        dialogs.answer(int(dialogs.messages().size()) - 1, 0);
    const QString order = shown.section(QStringLiteral("---"), 0, 0);
    bool still = false;
    for (const JobRecord& r : jobQueueFile(station.workdir()).records())
        still = still || r.OrderNo.trimmed() == order;
    events << QStringLiteral("operator: delete %1 from the queue: %2")
                  .arg(shown, still ? "refused" : "deleted");
    if (!still && hooks.deleted) hooks.deleted(order);
}

}  // namespace dye::soak
