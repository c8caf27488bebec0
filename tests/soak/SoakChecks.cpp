// The checks made all the time: outputs nothing drives, valves pouring onto
// a balance no station watches, buckets over their limit, and jobs that stop
// without a word.
#include "soak/SoakChecks.h"

#include <QTextStream>

#include <algorithm>

#include "app/Station.h"
#include "core/HeadlessDialogs.h"
#include "files/jobs/JobFile.h"
#include "run/JobJournal.h"
#include "sim/SimulatedController.h"

namespace dye::soak {

SoakChecks::SoakChecks(QDir workdir, const SoakMachine& machine, bool verbose)
    : workdir_(std::move(workdir)), machine_(machine), verbose_(verbose) {
    undrivenSince_.fill(-1);
}

void SoakChecks::fail(const QString& cause, const QString& detail) {
    failures_.append({cause, detail});
    if (verbose_) QTextStream(stderr) << "FAIL " << cause << ": " << detail << "\n";
}

void SoakChecks::queued(const SoakJob& job) {
    Tracked t;
    t.job = job;
    jobs_.insert(job.order(), t);
    queueOrder_ << job.order();
}

void SoakChecks::deleted(const QString& order) {
    if (!jobs_.contains(order)) return;
    jobs_[order].deleted = true;
    const std::optional<JournalState> j = JobJournal(workdir_).read();
    if (j && j->job.order == order && j->started())
        fail(
            QStringLiteral("job with product in its bucket deleted from the queue"),
            QStringLiteral("%1 was deleted while its journal holds rows in the bucket").arg(order));
}

void SoakChecks::newStation() {
    messagesSeen_ = 0;
    waterOnSince_ = {-1, -1};
    undrivenSince_.fill(-1);
    linkLostAt_ = -1;
}

void SoakChecks::bucketsChanged(const Poured& poured) {
    // The stop has taken the job off the screen: the job it comes back to
    // is the one last on the machine.
    if (jobs_.contains(lastOnMachine_)) jobs_[lastOnMachine_].pouredAtStart = poured.byValve;
}

QString SoakChecks::stateOf(Station& st) {
    const StationState& s = st.state;
    QString text =
        QStringLiteral("job %1, status \"%2\", alarm code %3, station steps %4/%5, wash phase %6")
            .arg(s.job.current().identity.order.trimmed(), s.form3.Status)
            .arg(s.MachineStatus.alarm())
            .arg(s.station[1].StationStep)
            .arg(s.station[2].StationStep)
            .arg(s.wash.WashPhase);
    if (machine_.twoBalances())
        text += QStringLiteral(", lane steps %1/%2, water phase %3")
                    .arg(st.twoBalance().lane(1).step)
                    .arg(st.twoBalance().lane(2).step)
                    .arg(st.twoBalance().waterPhase());
    else
        text += QStringLiteral(", row step %1").arg(st.transfer().rowStep());
    if (SimulatedController* sim = st.simulator())
        text += QStringLiteral(", balances %1/%2 counts")
                    .arg(sim->machine().reading(1), 0, 'f', 0)
                    .arg(sim->machine().reading(2), 0, 'f', 0);
    return text;
}

bool SoakChecks::reasonShown(qint64 ms, Station& st, QString* why) {
    const StationState& s = st.state;
    if (!s.form3.Status.isEmpty()) {
        *why = s.form3.Status;
        return true;
    }
    if (s.MachineStatus.alarm() != 0) {
        *why = QStringLiteral("alarm code %1").arg(s.MachineStatus.alarm());
        return true;
    }
    if (lastReasonMs_ >= 0 && ms - lastReasonMs_ < kReasonFreshMs) {
        const auto& m = st.headlessDialogs()->messages();
        *why = m.isEmpty() ? QStringLiteral("a message") : m.last().text;
        return true;
    }
    return false;
}

void SoakChecks::step(qint64 ms, Station& st, const Poured& poured, bool stopped) {
    const qint64 dt = ms - lastMs_;
    lastMs_ = ms;
    if (HeadlessDialogs* d = st.headlessDialogs(); d && d->messages().size() != messagesSeen_) {
        messagesSeen_ = d->messages().size();
        lastReasonMs_ = ms;
    }
    if (!st.state.linkUsable()) linkLostAt_ = ms;
    checkOutputs(ms, st);
    if (machine_.type == 2 && !poured.overloaded) checkBuckets(st);
    if (machine_.twoBalances() && !poured.overloaded) checkBucketOwners(st);
    checkWash(st);
    const QString order = st.state.job.current().identity.order.trimmed();
    if (order != onMachine_) {
        onMachine_ = order;
        if (!order.isEmpty()) lastOnMachine_ = order;
        if (jobs_.contains(order) && jobs_[order].seenAt < 0) {
            jobs_[order].seenAt = ms;
            jobs_[order].pouredAtStart = poured.byValve;
        }
        lastFileCheck_ = -1;  // a job came or went: look at the files now
    }
    if (jobs_.contains(order) && !stopped) jobs_[order].onMachineMs += dt;
    checkJobOnMachine(ms, st, poured, stopped);
    if (lastFileCheck_ < 0 || ms - lastFileCheck_ >= 30'000) {
        lastFileCheck_ = ms;
        checkFiles(ms, st, poured);
    }
}

void SoakChecks::checkOutputs(qint64 ms, Station& st) {
    SimulatedController* sim = st.simulator();
    if (!sim) return;
    const StationState& s = st.state;
    // A station drives its valve from the long opening to its end.
    auto drivenBy = [&](int valve) {
        for (int n = 1; n <= 2; ++n)
            if (s.station[size_t(n)].StationStep >= 3 && s.station[size_t(n)].valve == valve)
                return n;
        return 0;
    };
    const bool linkSettled = linkLostAt_ < 0 || ms - linkLostAt_ > kUndrivenGraceMs;
    const int waterOutputs[] = {985, 842};
    for (size_t w = 0; w < 2; ++w) {
        qint64& since = waterOnSince_[w];
        since = sim->machine().outputOn(waterOutputs[w]) ? (since < 0 ? ms : since) : -1;
        if (since >= 0 && ms - since > kWaterOnLimitMs && !waterReported_) {
            waterReported_ = true;
            fail(QStringLiteral("water left on"), QStringLiteral("D%1 on for %2 min; %3")
                                                      .arg(waterOutputs[w])
                                                      .arg((ms - since) / 60'000)
                                                      .arg(stateOf(st)));
        }
    }
    for (int v = 1; v <= 24; ++v) {
        const MachineModel& m = sim->machine();
        if (!m.outputOn(850 + v)) {
            undrivenSince_[size_t(v)] = -1;
            continue;
        }
        const int by = drivenBy(v);
        const int balance = m.valveBalance(v);
        const bool wash = v == 1 && s.wash.WashPhase != 0;
        // Station n watches balance n.
        const bool wrongBalance = by != 0 && by != balance;
        if ((by != 0 && !wrongBalance) || wash || !linkSettled) {
            undrivenSince_[size_t(v)] = -1;
            continue;
        }
        if (undrivenSince_[size_t(v)] < 0) undrivenSince_[size_t(v)] = ms;
        // No flow onto a balance the driving station does not watch is
        // ever right; an output nothing drives gets the scan's time to go off.
        const bool now = wrongBalance && m.valveFlowing(v);
        if ((!now && ms - undrivenSince_[size_t(v)] < kUndrivenGraceMs) ||
            valveReported_[size_t(v)])
            continue;
        valveReported_[size_t(v)] = true;
        if (wrongBalance)
            fail(QStringLiteral("valve pours onto a balance no station watches"),
                 QStringLiteral("valve %1 pours onto balance %2 while station %3 meters it; %4")
                     .arg(v)
                     .arg(balance)
                     .arg(by)
                     .arg(stateOf(st)));
        else
            fail(QStringLiteral("valve open with no metering driving it"),
                 QStringLiteral("valve %1 open for %2 s with no metering on it; %3")
                     .arg(v)
                     .arg((ms - undrivenSince_[size_t(v)]) / 1000)
                     .arg(stateOf(st)));
    }
}

void SoakChecks::checkBuckets(Station& st) {
    // While a station meters, its bucket holds product only (the water of
    // the type-2 machine comes after lane 1 has finished).
    SimulatedController* sim = st.simulator();
    if (!sim) return;
    double fastest = 0;
    for (double r : machine_.rates) fastest = std::max(fastest, r);
    const double limit =
        machine_.bucketLimit + fastest * kBucketLimitSlackSeconds + machine_.tolerance;
    for (int b = 1; b <= 2; ++b) {
        const double content = sim->machine().content(b);
        if (st.state.station[size_t(b)].StationStep == 0 || content <= limit ||
            bucketReported_[size_t(b - 1)])
            continue;
        bucketReported_[size_t(b - 1)] = true;
        fail(QStringLiteral("bucket over its limit"),
             QStringLiteral("the bucket on balance %1 holds %2 of product, limit %3; %4")
                 .arg(b)
                 .arg(content, 0, 'f', 1)
                 .arg(machine_.bucketLimit)
                 .arg(stateOf(st)));
    }
}

void SoakChecks::checkBucketOwners(Station& st) {
    // On the two-balance machines each job's products go into buckets of
    // its own: a lane meters into an empty bucket or one of its own job.
    SimulatedController* sim = st.simulator();
    if (!sim) return;
    const QString job = st.state.job.current().identity.order.trimmed();
    for (int b = 1; b <= 2; ++b) {
        QString& owner = bucketOwner_[size_t(b - 1)];
        const double content = sim->machine().content(b);
        if (content < kEmptyBucketCounts) owner.clear();
        if (job.isEmpty() || st.state.station[size_t(b)].StationStep < 3) continue;
        if (owner.isEmpty()) {
            owner = job;
        } else if (owner != job && !ownerReported_) {
            ownerReported_ = true;
            fail(QStringLiteral("job meters into a bucket holding another job's product"),
                 QStringLiteral(
                     "at %6 s %1 meters on balance %2 into the bucket of %3 (%4 in it); %5")
                     .arg(job)
                     .arg(b)
                     .arg(owner)
                     .arg(content, 0, 'f', 1)
                     .arg(stateOf(st))
                     .arg(lastMs_ / 1000));
        }
    }
}

void SoakChecks::checkWash(Station& st) {
    // A wash empties the bucket on balance 1: never while a job that was
    // stopped or cut off has rows in it and is not back on the machine.
    if (washReported_ || st.state.wash.WashPhase == 0 ||
        !st.state.job.current().identity.order.trimmed().isEmpty())
        return;
    const std::optional<JournalState> j = JobJournal(workdir_).read();
    if (!j || !j->started()) return;
    washReported_ = true;
    fail(QStringLiteral("wash runs on an interrupted job's bucket"),
         QStringLiteral("at %1 s a wash runs while %2, interrupted with rows in its bucket, waits "
                        "to go on; %3")
             .arg(lastMs_ / 1000)
             .arg(j->job.order, stateOf(st)));
}

void SoakChecks::checkJobOnMachine(qint64 ms, Station& st, const Poured&, bool stopped) {
    QString why;
    const bool reason = reasonShown(ms, st, &why) || stopped;
    if (onMachine_.isEmpty()) {
        // A queue with a job in it that is not taken, with no word why.
        JobFile queue = jobQueueFile(workdir_);
        if (queue.count() == 0 || reason || st.state.wash.WashPhase != 0) {
            queueIdleSince_ = -1;
        } else if (queueIdleSince_ < 0) {
            queueIdleSince_ = ms;
        } else if (ms - queueIdleSince_ > kQueueIdleMs) {
            fail(QStringLiteral("queue not taken, no word why"),
                 QStringLiteral("%1 queued jobs waited %2 min with no job on the machine; %3")
                     .arg(queue.count())
                     .arg((ms - queueIdleSince_) / 60'000)
                     .arg(stateOf(st)));
            over_ = true;
        }
        return;
    }
    queueIdleSince_ = -1;
    if (!jobs_.contains(onMachine_)) {
        fail(QStringLiteral("a job on the machine that was never queued"), stateOf(st));
        over_ = true;
        return;
    }
    Tracked& t = jobs_[onMachine_];
    if (t.onMachineMs <= t.job.boundMs) return;
    if (!reason && !t.stallReported) {
        t.stallReported = true;
        fail(QStringLiteral("silent stall"),
             QStringLiteral("%1 on the machine for %2 min (bound %3 min) with no alarm, message or "
                            "status; %4")
                 .arg(onMachine_)
                 .arg(t.onMachineMs / 60'000)
                 .arg(t.job.boundMs / 60'000)
                 .arg(stateOf(st)));
        over_ = true;
    } else if (t.onMachineMs > 3 * t.job.boundMs && !st.state.form3.Status.isEmpty()) {
        // The station says what it waits for (an operator's press, a
        // record that cannot be written): the shift ends there.
        waiting_ = QStringLiteral("%1 waits: %2").arg(onMachine_, why);
        over_ = true;
    } else if (t.onMachineMs > 3 * t.job.boundMs) {
        // Every fault of the shift is over by now: a job that still does not
        // end, with the same alarm again and again, will never end.
        waiting_ = QStringLiteral("%1 waits: %2").arg(onMachine_, why);
        fail(QStringLiteral("job never ends, the station only repeats its alarm"),
             QStringLiteral("%1 on the machine for %2 min (bound %3 min): %4; %5")
                 .arg(onMachine_)
                 .arg(t.onMachineMs / 60'000)
                 .arg(t.job.boundMs / 60'000)
                 .arg(why, stateOf(st)));
        over_ = true;
    }
}

}  // namespace dye::soak
