// Reply decoder: any reply, count and width decode without reading out of
// range, into exactly the clamped number of entries; values laid out as the
// controller sends them decode back to themselves.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/FrameCodec.h"

using dye::FrameCodec;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int count = int(int8_t(data[0])) * 3;
    static const char* const kWidths[] = {"16", "32", "", "32abc", "-32", "8"};
    const QString width = QString::fromLatin1(kWidths[data[1] % 6]);
    const QByteArrayView reply(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    const auto values = FrameCodec::DecodeReadReply(reply, count, width);
    const int expected = count < 0 ? 0 : std::min(count, FrameCodec::kMaxReplyValues);
    if (int(values.size()) != expected) std::abort();
    const int bytes = FrameCodec::bytesPerValue(width);
    for (size_t i = 0; i < values.size(); ++i) {
        const qsizetype at = FrameCodec::kReplyDataOffset + qsizetype(i) * 2 * bytes;
        if (values[i] && at >= reply.size()) std::abort();
    }

    // Round trip: the reply bytes taken as values, sent in wire order.
    QByteArray wire(1, '\x02');
    wire.append("005100");
    std::vector<qint32> sent;
    for (qsizetype k = 0; k + bytes <= reply.size(); k += bytes) {
        quint32 v = 0;
        for (int b = 0; b < bytes; ++b) v |= quint32(uint8_t(reply[k + b])) << (8 * b);
        sent.push_back(bytes == 2 ? qint32(qint16(quint16(v))) : qint32(v));
        FrameCodec::appendWireDigits(wire, v, bytes);
    }
    const auto back = FrameCodec::DecodeReadReply(wire, int(sent.size()), width);
    for (size_t i = 0; i < back.size(); ++i)
        if (!back[i] || *back[i] != sent[i]) std::abort();
    return 0;
}
