#include "ReplyCheck.h"

#include "link/FrameCodec.h"

namespace dye {

bool replyIsWhole(QByteArrayView reply, int count, const QString& width) {
    const int digits = 2 * FrameCodec::bytesPerValue(width) * count;
    const qsizetype expected = FrameCodec::kReplyDataOffset + digits + 3;
    if (count <= 0 || reply.size() != expected) return false;
    if (reply[0] != FrameCodec::kStx || reply[expected - 3] != FrameCodec::kEtx) return false;
    for (int i = 0; i < digits; ++i) {
        const char c = reply[FrameCodec::kReplyDataOffset + i];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!hex) return false;
    }
    const QByteArray sum = FrameCodec::sumDigits(reply.sliced(1, expected - 4));
    return reply.sliced(expected - 2).compare(sum, Qt::CaseInsensitive) == 0;
}

}  // namespace dye
