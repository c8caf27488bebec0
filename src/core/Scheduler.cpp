#include "Scheduler.h"

#include <algorithm>

namespace dye {

void Timer::setInterval(int ms) {
    interval_ = ms;
    restart();
}

void Timer::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    restart();
}

void Timer::restart() {
    due_ = owner_.now() + interval_;
}

Scheduler::Scheduler() = default;
Scheduler::~Scheduler() = default;

Timer& Scheduler::addTimer(const QString& name, int intervalMs, bool enabled,
                           Timer::Handler handler) {
    timers_.push_back(std::unique_ptr<Timer>(new Timer(*this, name)));
    Timer& t = *timers_.back();
    t.handler_ = std::move(handler);
    t.interval_ = intervalMs;
    t.enabled_ = enabled;
    t.restart();
    return t;
}

Timer* Scheduler::timer(const QString& name) const {
    for (const auto& t : timers_)
        if (t->name() == name) return t.get();
    return nullptr;
}

void Scheduler::singleShot(qint64 delayMs, std::function<void()> fn) {
    shots_.push_back(Shot{now_ + std::max<qint64>(0, delayMs), shotSeq_++, std::move(fn)});
}

qint64 Scheduler::nextDue() const {
    qint64 best = -1;
    for (const auto& t : timers_)
        if (t->armed() && !t->running_ && (best < 0 || t->due_ < best)) best = t->due_;
    for (const auto& s : shots_)
        if (best < 0 || s.due < best) best = s.due;
    return best;
}

void Scheduler::fire(Timer& t, bool late) {
    ++fired_;
    t.running_ = true;
    // The next count starts now; a handler that changes the timer restarts it again.
    t.due_ = (late ? now_ : t.due_) + t.interval_;
    Timer::Handler handler = t.handler_;
    handler();
    t.running_ = false;
}

bool Scheduler::fireNext(qint64 limit, bool late) {
    Timer* bestTimer = nullptr;
    for (const auto& t : timers_) {
        if (!t->armed() || t->running_ || t->due_ > limit) continue;
        if (!bestTimer || t->due_ < bestTimer->due_) bestTimer = t.get();
    }
    auto shot = shots_.end();
    for (auto it = shots_.begin(); it != shots_.end(); ++it) {
        if (it->due > limit) continue;
        if (shot == shots_.end() || it->due < shot->due ||
            (it->due == shot->due && it->seq < shot->seq))
            shot = it;
    }
    // Timers win ties against one-shots (a one-shot is queued from a tick).
    if (shot != shots_.end() && (!bestTimer || shot->due < bestTimer->due_)) {
        if (!late) now_ = std::max(now_, shot->due);
        std::function<void()> fn = std::move(shot->fn);
        shots_.erase(shot);
        ++fired_;
        fn();
        return true;
    }
    if (!bestTimer) return false;
    if (!late) now_ = std::max(now_, bestTimer->due_);
    fire(*bestTimer, late);
    return true;
}

void Scheduler::atPassEnd(std::function<void()> fn) {
    if (passDepth_ > 0)
        passEnd_.push_back(std::move(fn));
    else
        fn();
}

void Scheduler::endPass(quint64 firedBefore) {
    --passDepth_;
    // A pass inside a handler's own advance() ends here too: what was left
    // for the end is done before its observer looks.
    std::vector<std::function<void()>> due;
    due.swap(passEnd_);
    for (auto& fn : due) fn();
    if (fired_ != firedBefore && passObserver_) passObserver_();
}

void Scheduler::advance(qint64 ms) {
    ++passDepth_;
    const quint64 before = fired_;
    const qint64 target = now_ + std::max<qint64>(0, ms);
    while (fireNext(target, false)) {
    }
    now_ = std::max(now_, target);
    endPass(before);
}

bool Scheduler::advanceUntil(const std::function<bool()>& done, qint64 limitMs, qint64 stepMs) {
    const qint64 end = now_ + limitMs;
    while (!done()) {
        if (now_ >= end) return false;
        advance(std::min(stepMs, end - now_));
    }
    return true;
}

void Scheduler::catchUp(qint64 nowMs) {
    ++passDepth_;
    const quint64 before = fired_;
    now_ = std::max(now_, nowMs);
    // Each overdue timer fires once; what a handler arms for later waits.
    std::vector<Timer*> due;
    for (const auto& t : timers_)
        if (t->armed() && !t->running_ && t->due_ <= now_) due.push_back(t.get());
    std::stable_sort(due.begin(), due.end(), [](Timer* a, Timer* b) { return a->due_ < b->due_; });
    for (Timer* t : due)
        if (t->armed() && !t->running_ && t->due_ <= now_) fire(*t, true);
    while (fireNext(now_, true)) {
        // only one-shots remain due here: timers were rescheduled past now
    }
    endPass(before);
}

}  // namespace dye
