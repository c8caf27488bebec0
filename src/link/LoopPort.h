#pragma once

#include <memory>
#include <vector>

#include "link/LoopPeer.h"
#include "link/Port.h"

namespace dye {

class Scheduler;

// A port wired to an in-process peer on the station's own clock. Every
// character written reaches the peer when its last bit has left the wire
// (start, data, parity and stop bits at the line's baud rate: 10 bits, about
// 0.52 ms, at 19200 7E1), characters queue back to back, and the peer's
// answer becomes readable character by character at the same pace after the
// peer's own latency. Times are kept in whole microseconds, rounded up, from
// the start of each burst of characters so that no drift builds up.
//
// The port works lazily and exactly: every operation first delivers what is
// due by the scheduler's current time, in time order, advancing the peer to
// each delivery. A one-shot on the scheduler also delivers each write when it
// is due, so the peer acts on it even if the station reads nothing.
class LoopPort : public Port {
  public:
    LoopPort(Scheduler& scheduler, LoopPeer& peer);
    ~LoopPort() override;
    LoopPort(const LoopPort&) = delete;
    LoopPort& operator=(const LoopPort&) = delete;

    bool open(const QString& port, const QString& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    void clearInput() override;
    void write(const QByteArray& data) override;
    QByteArray readAll() override;
    QString errorString() const override { return error_; }

    // Delivers everything due by now and advances the peer to now.
    void pump();
    // Wire time of `chars` characters back to back, in microseconds (rounded up).
    qint64 wireTimeUs(qint64 chars) const;
    // Characters written but not yet delivered / answered but not yet readable.
    int pendingToPeer() const { return toPeer_.size(); }
    int pendingFromPeer() const { return fromPeer_.size(); }

  private:
    struct Timed {
        qint64 dueUs;
        char c;
    };
    // Characters in time order, taken from the front. The storage is kept
    // and reused once it has been emptied, so a steady exchange of frames
    // allocates nothing.
    class TimedQueue {
      public:
        bool empty() const { return head_ == items_.size(); }
        int size() const { return int(items_.size() - head_); }
        const Timed& front() const { return items_[head_]; }
        const Timed& back() const { return items_.back(); }
        void push_back(const Timed& t) { items_.push_back(t); }
        void pop_front() {
            if (++head_ == items_.size()) clear();
        }
        void clear() {
            items_.clear();
            head_ = 0;
        }
        // Moves the characters due at or before `limitUs` to the end of `out`.
        void takeDue(qint64 limitUs, QByteArray& out) {
            size_t end = head_;
            while (end < items_.size() && items_[end].dueUs <= limitUs) ++end;
            const qsizetype at = out.size();
            out.resize(at + qsizetype(end - head_));
            char* to = out.data() + at;
            for (size_t i = head_; i < end; ++i) *to++ = items_[i].c;
            head_ = end;
            if (head_ == items_.size()) clear();
        }

      private:
        std::vector<Timed> items_;
        size_t head_ = 0;
    };
    // A run of characters sent back to back from `startUs`.
    struct Burst {
        qint64 startUs = 0;
        qint64 chars = 0;
    };
    qint64 nowUs() const;
    // Due time of one more character in `burst` when it is queued at `atUs`.
    qint64 queueOn(Burst& burst, qint64 atUs) const;
    void scheduleDelivery(qint64 dueUs);

    Scheduler& scheduler_;
    LoopPeer& peer_;
    LineSettings line_;
    bool open_ = false;
    QString error_;
    TimedQueue toPeer_;
    TimedQueue fromPeer_;
    Burst txBurst_;
    Burst rxBurst_;
    QByteArray input_;
    std::shared_ptr<LoopPort*> self_;
};

}  // namespace dye
