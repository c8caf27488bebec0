#pragma once

#include <QString>

#include <functional>

namespace dye {

// Whether the controller answers. The scan reports every request's outcome;
// when no whole answer has come for a second (and at least one request went
// unanswered since), or the port reports an error, the link is lost: once per
// failure episode, whatever the number of missed frames. It is back at the
// first whole answer after that.
//
// A loss holds the station until the operator has acknowledged it and the
// controller answers again; `usable()` says when both hold.
class LinkHealth {
  public:
    static constexpr qint64 kSilenceMs = 1000;

    struct Events {
        std::function<void(const QString& why)> lost;
        std::function<void()> back;
    };
    void setEvents(Events events) { events_ = std::move(events); }

    // A whole answer came at `nowMs`.
    void answered(qint64 nowMs);
    // A request went unanswered (nothing, or nothing whole) at `nowMs`.
    void missed(qint64 nowMs, const QString& what);
    // The port failed; the link counts as lost at once.
    void portFailed(const QString& why);
    // The scan started (or the port was opened): silence counts from `nowMs`.
    void start(qint64 nowMs);

    bool up() const { return up_; }
    // The operator has seen the last loss (or there was none).
    bool acknowledged() const { return acknowledged_; }
    void acknowledge() { acknowledged_ = true; }
    // The station may drive the machine: the link is up and no loss waits for OK.
    bool usable() const { return up_ && acknowledged_; }
    const QString& reason() const { return reason_; }
    int losses() const { return losses_; }
    // When the last whole answer came (station clock, ms); -1 before the first.
    qint64 lastAnswerMs() const { return answeredMs_; }

  private:
    void lose(const QString& why);

    Events events_;
    bool up_ = true;
    bool acknowledged_ = true;
    bool missedSinceAnswer_ = false;
    qint64 lastAnswerMs_ = 0;  // silence counts from here
    qint64 answeredMs_ = -1;
    QString reason_;
    int losses_ = 0;
};

}  // namespace dye
