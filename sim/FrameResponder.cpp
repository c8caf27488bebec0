#include "FrameResponder.h"

#include "link/FrameCodec.h"
#include "sim/RegisterMemory.h"

namespace dye {

namespace {

// Hex number of `digits`, upper or lower case; -1 when any is not a hex digit.
qint64 hexNumber(QByteArrayView digits) {
    qint64 value = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

QByteArray frame(QByteArrayView body) {
    QByteArray out;
    out.reserve(body.size() + 4);
    out.append(FrameCodec::kStx);
    out.append(body);
    out.append(FrameCodec::kEtx);
    out.append(FrameCodec::sumDigits(body));
    return out;
}

}  // namespace

void FrameAssembler::reset() {
    state_ = State::Idle;
    frame_.clear();
}

std::optional<QByteArray> FrameAssembler::push(char c) {
    if (c == FrameCodec::kStx) {
        frame_ = QByteArray(1, c);
        state_ = State::Body;
        return std::nullopt;
    }
    switch (state_) {
        case State::Idle:
            return std::nullopt;
        case State::Body:
            frame_.append(c);
            if (c == FrameCodec::kEtx)
                state_ = State::Sum;
            else if (frame_.size() > kMaxFrame)
                reset();
            return std::nullopt;
        case State::Sum:
            frame_.append(c);
            if (frame_.size() >= 4 && frame_[frame_.size() - 3] == FrameCodec::kEtx) {
                QByteArray done = std::move(frame_);
                reset();
                return done;
            }
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<SimRequest> parseRequest(QByteArrayView f) {
    // STX, command (4), address (4), count (2), data, ETX, sum (2).
    if (f.size() < 14 || f.front() != FrameCodec::kStx || f[f.size() - 3] != FrameCodec::kEtx)
        return std::nullopt;
    const QByteArrayView body = f.sliced(1, f.size() - 4);
    if (hexNumber(f.last(2)) != hexNumber(FrameCodec::sumDigits(body))) return std::nullopt;

    const QByteArrayView command = body.first(4);
    const qint64 address = hexNumber(body.sliced(4, 4));
    const qint64 bytes = hexNumber(body.sliced(8, 2));
    const QByteArrayView data = body.sliced(10);
    if (address < FrameCodec::kBaseAddress || (address - FrameCodec::kBaseAddress) % 2 != 0)
        return std::nullopt;
    if (bytes <= 0 || bytes % 2 != 0) return std::nullopt;

    SimRequest request;
    request.first = int((address - FrameCodec::kBaseAddress) / 2);
    request.registers = int(bytes / 2);
    if (!RegisterMemory::validRange(request.first, request.registers)) return std::nullopt;

    if (command == "0051") {
        if (!data.isEmpty()) return std::nullopt;
        request.kind = SimRequest::Kind::Read;
        return request;
    }
    if (command != "0061" || data.size() != 2 * bytes) return std::nullopt;
    request.kind = SimRequest::Kind::Write;
    request.values.reserve(size_t(request.registers));
    for (int i = 0; i < request.registers; ++i) {
        const qint64 low = hexNumber(data.sliced(4 * i, 2));
        const qint64 high = hexNumber(data.sliced(4 * i + 2, 2));
        if (low < 0 || high < 0) return std::nullopt;
        request.values.push_back(quint16((high << 8) | low));
    }
    return request;
}

QByteArray readReply(const RegisterMemory& memory, int first, int n) {
    QByteArray body("005100");
    body.reserve(6 + 4 * n);
    for (int i = 0; i < n; ++i) FrameCodec::appendWireDigits(body, memory.get(first + i), 2);
    return frame(body);
}

QByteArray writeReply() {
    return frame("006100");
}

}  // namespace dye
