#include "LoopPort.h"

#include <utility>

#include "core/Scheduler.h"

namespace dye {

LoopPort::LoopPort(Scheduler& scheduler, LoopPeer& peer)
    : scheduler_(scheduler), peer_(peer), self_(std::make_shared<LoopPort*>(this)) {}

LoopPort::~LoopPort() = default;

bool LoopPort::open(const QString& port, const QString& settings) {
    Q_UNUSED(port);  // the peer is wired in; any name reaches it
    const std::optional<LineSettings> line = LineSettings::parse(settings);
    if (!line) {
        error_ = QStringLiteral("invalid line settings \"%1\"").arg(settings);
        return false;
    }
    if (open_) close();
    line_ = *line;
    open_ = true;
    error_.clear();
    return true;
}

void LoopPort::close() {
    if (!open_) return;
    pump();
    toPeer_.clear();
    fromPeer_.clear();
    input_.clear();
    open_ = false;
}

qint64 LoopPort::nowUs() const {
    return scheduler_.now() * 1000;
}

qint64 LoopPort::wireTimeUs(qint64 chars) const {
    const qint64 bits = chars * line_.bitsPerCharacter() * 1'000'000;
    return (bits + line_.baud - 1) / line_.baud;
}

qint64 LoopPort::queueOn(Burst& burst, qint64 atUs) const {
    if (atUs >= burst.startUs + wireTimeUs(burst.chars)) burst = Burst{atUs, 0};
    ++burst.chars;
    return burst.startUs + wireTimeUs(burst.chars);
}

void LoopPort::scheduleDelivery(qint64 dueUs) {
    const qint64 dueMs = (dueUs + 999) / 1000;
    std::weak_ptr<LoopPort*> self = self_;
    scheduler_.singleShot(dueMs - scheduler_.now(), [self] {
        if (const std::shared_ptr<LoopPort*> port = self.lock()) (*port)->pump();
    });
}

void LoopPort::pump() {
    if (!open_) return;
    const qint64 now = nowUs();
    for (;;) {
        const bool tx = !toPeer_.empty() && toPeer_.front().dueUs <= now;
        const bool rx = !fromPeer_.empty() && fromPeer_.front().dueUs <= now;
        if (!tx && !rx) break;
        if (rx && (!tx || fromPeer_.front().dueUs <= toPeer_.front().dueUs)) {
            // Every answer character due before the next delivery to the peer.
            fromPeer_.takeDue(tx ? toPeer_.front().dueUs : now, input_);
            continue;
        }
        const Timed arrived = toPeer_.front();
        toPeer_.pop_front();
        peer_.advanceTo(arrived.dueUs);
        const LoopAnswer answer = peer_.receive(arrived.c, arrived.dueUs);
        const qint64 start = arrived.dueUs + std::max<qint64>(0, answer.latencyUs);
        for (char c : answer.bytes) fromPeer_.push_back(Timed{queueOn(rxBurst_, start), c});
    }
    peer_.advanceTo(now);
}

void LoopPort::clearInput() {
    pump();
    input_.clear();
}

void LoopPort::write(const QByteArray& data) {
    if (!open_ || data.isEmpty()) return;
    pump();
    const qint64 now = nowUs();
    for (char c : data) toPeer_.push_back(Timed{queueOn(txBurst_, now), c});
    scheduleDelivery(toPeer_.back().dueUs);
}

QByteArray LoopPort::readAll() {
    pump();
    return std::exchange(input_, QByteArray());
}

}  // namespace dye
