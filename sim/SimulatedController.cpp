#include "SimulatedController.h"

namespace dye {

SimulatedController::SimulatedController(SimOptions options)
    : options_(std::move(options)), machine_(options_), faultDraws_(options_.seed ^ 0xFA17ULL) {}

void SimulatedController::advanceTo(qint64 us) {
    // The machine keeps whole milliseconds; a moment inside one counts from
    // its start.
    machine_.advanceTo(us / 1000);
}

quint16 SimulatedController::reg(int d) {
    machine_.publish(memory_);
    return memory_.get(d);
}

qint32 SimulatedController::reg32(int d) {
    machine_.publish(memory_);
    return memory_.get32(d);
}

bool SimulatedController::draw(double rate) {
    if (rate <= 0.0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(faultDraws_) < rate;
}

LoopAnswer SimulatedController::receive(char c, qint64 us) {
    advanceTo(us);
    if (options_.faults.silentAtUs(us)) {
        assembler_.reset();
        return {};
    }
    const std::optional<QByteArray> frame = assembler_.push(c);
    if (!frame) return {};
    const std::optional<SimRequest> request = parseRequest(*frame);
    if (!request) {
        ++counters_.badFrames;
        return {};
    }
    ++counters_.frames;
    LoopAnswer reply = answer(*request);
    damage(reply);
    return reply;
}

LoopAnswer SimulatedController::answer(const SimRequest& request) {
    LoopAnswer reply;
    reply.latencyUs = options_.physics.replyLatencyUs;
    if (request.kind == SimRequest::Kind::Read) {
        machine_.publish(memory_);
        reply.bytes = readReply(memory_, request.first, request.registers);
        return reply;
    }
    for (int i = 0; i < request.registers; ++i)
        memory_.set(request.first + i, request.values[size_t(i)]);
    machine_.applyWrite(memory_, request.first, request.registers);
    reply.bytes = writeReply();
    return reply;
}

void SimulatedController::damage(LoopAnswer& reply) {
    const SimFaults& f = options_.faults;
    if (draw(f.dropReplies)) {
        ++counters_.dropped;
        reply.bytes.clear();
        return;
    }
    ++counters_.replies;
    const qsizetype size = reply.bytes.size();
    if (draw(f.shortReplies) && size > 1) {
        ++counters_.cut;
        reply.bytes.truncate(std::uniform_int_distribution<qsizetype>(1, size - 1)(faultDraws_));
    } else if (draw(f.corruptReplies) && size > 0) {
        ++counters_.corrupted;
        const qsizetype at = std::uniform_int_distribution<qsizetype>(0, size - 1)(faultDraws_);
        // Any other 7-bit character, as a flipped bit or noise would leave.
        const int delta = std::uniform_int_distribution<int>(1, 127)(faultDraws_);
        reply.bytes[at] = char((static_cast<unsigned char>(reply.bytes[at]) + delta) & 0x7F);
    }
    if (draw(f.lateReplies)) {
        ++counters_.late;
        reply.latencyUs += f.lateReplyUs;
    }
}

}  // namespace dye
