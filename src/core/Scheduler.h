#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace dye {

class Scheduler;

// A named timer of the station (Form2.Timer1, Form3.Timer2, ...). Enabling it
// or assigning its interval restarts its count; an interval of 0 or less
// never fires.
class Timer {
  public:
    using Handler = std::function<void()>;

    const QString& name() const { return name_; }
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    void setInterval(int ms);
    void setEnabled(bool on);
    void setHandler(Handler handler) { handler_ = std::move(handler); }

  private:
    friend class Scheduler;
    Timer(Scheduler& owner, QString name) : owner_(owner), name_(std::move(name)) {}
    void restart();
    bool armed() const { return enabled_ && interval_ > 0 && handler_; }

    Scheduler& owner_;
    QString name_;
    int interval_ = 0;
    bool enabled_ = false;
    bool running_ = false;
    qint64 due_ = 0;
    Handler handler_;
};

// All ticks of the station run here, on one time base measured in
// milliseconds since the scheduler started. Tests and the headless runner
// drive it with advance() (virtual time: every tick fires at its exact due
// time); the application drives it with catchUp() from the real clock, where a
// timer that is late fires once, not in a burst (RealTimeDriver; at a speed
// other than real time it plays each step with advance() and catches up only
// after a stall). Ties fire in registration order; a handler is never
// re-entered while it runs.
class Scheduler {
  public:
    Scheduler();
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    Timer& addTimer(const QString& name, int intervalMs = 0, bool enabled = false,
                    Timer::Handler handler = {});
    Timer* timer(const QString& name) const;

    // Runs `fn` once, `delayMs` from now (0 = on the next pass).
    void singleShot(qint64 delayMs, std::function<void()> fn);

    qint64 now() const { return now_; }

    // Virtual time: fire every due tick in time order up to now + ms.
    void advance(qint64 ms);
    // Advance in steps until `done` holds or `limitMs` has passed; returns
    // whether `done` held.
    bool advanceUntil(const std::function<bool()>& done, qint64 limitMs, qint64 stepMs = 10);
    // Real time: the clock jumps to `nowMs`; every overdue timer fires once.
    void catchUp(qint64 nowMs);

    // The earliest time at which something is due, or -1 when nothing is.
    qint64 nextDue() const;

    // Called once at the end of every advance() or catchUp() in which
    // anything fired: where the screens are brought up to date.
    void setPassObserver(std::function<void()> fn) { passObserver_ = std::move(fn); }

    // Runs `fn` when the pass under way (an advance() or catchUp()) ends,
    // before the pass observer; at once when no pass is under way. Work a
    // tick leaves to the end of its pass is thus done before anything
    // outside the pass can see its result.
    void atPassEnd(std::function<void()> fn);
    bool inPass() const { return passDepth_ > 0; }

  private:
    friend class Timer;
    struct Shot {
        qint64 due;
        quint64 seq;
        std::function<void()> fn;
    };
    // The next timer or one-shot due at or before `limit`; returns false when none.
    bool fireNext(qint64 limit, bool late);
    void fire(Timer& t, bool late);

    std::vector<std::unique_ptr<Timer>> timers_;
    std::vector<Shot> shots_;
    quint64 shotSeq_ = 0;
    qint64 now_ = 0;
    quint64 fired_ = 0;
    std::function<void()> passObserver_;
    int passDepth_ = 0;
    std::vector<std::function<void()>> passEnd_;
    void endPass(quint64 firedBefore);
};

}  // namespace dye
