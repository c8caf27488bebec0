#include "FrameCodec.h"

#include <algorithm>

#include "core/Val.h"

namespace dye {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Value of one hex digit, upper or lower case; -1 for anything else.
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The one-character text of a hex digit, shared by every cell that shows it.
const QString& digitText(char digit) {
    static const std::array<QString, 16> texts = [] {
        std::array<QString, 16> t;
        for (int i = 0; i < 16; ++i) t[size_t(i)] = QString(QLatin1Char(kHexDigits[i]));
        return t;
    }();
    const int at = digit <= '9' ? digit - '0' : digit - 'A' + 10;
    return texts[size_t(at)];
}

void appendHexByte(QByteArray& out, unsigned byte) {
    out.append(kHexDigits[(byte >> 4) & 0xF]);
    out.append(kHexDigits[byte & 0xF]);
}

// One value field of a reply: `field` holds up to 2·bytes digits, bytes least
// significant first. The number is assembled most significant byte first from
// whatever digits are present, so a field cut after its low byte reads as
// that byte alone.
std::optional<qint32> decodeField(QByteArrayView field, int bytes) {
    quint32 value = 0;
    for (int b = bytes - 1; b >= 0; --b) {
        const qsizetype at = 2 * qsizetype(b);
        if (at >= field.size()) continue;
        const qsizetype n = std::min<qsizetype>(2, field.size() - at);
        for (qsizetype k = 0; k < n; ++k) {
            const int digit = hexValue(field[at + k]);
            if (digit < 0) return std::nullopt;
            value = (value << 4) | quint32(digit);
        }
    }
    // Two's complement of the width: FFFF is -1 at width 16, FFFFFFFF at 32.
    if (bytes == 2) return qint32(qint16(quint16(value)));
    return qint32(value);
}

}  // namespace

int FrameCodec::bytesPerValue(const QString& width) {
    return Val(width) == 32.0 ? 4 : 2;
}

int FrameCodec::clampCount(qint64 count, int bytesPerValue) {
    return int(std::clamp<qint64>(count, 0, kMaxBytes / bytesPerValue));
}

QByteArray FrameCodec::addressField(qint64 d) {
    // Registers D0..D29183 fit the four digits; anything else is a caller's
    // mistake and goes out as the low 16 bits of its address.
    const quint32 address = quint32(kBaseAddress + 2 * d) & 0xFFFF;
    QByteArray out;
    appendHexByte(out, address >> 8);
    appendHexByte(out, address & 0xFF);
    return out;
}

QByteArray FrameCodec::sumDigits(QByteArrayView body) {
    unsigned sum = unsigned(kEtx);
    for (char c : body) sum += static_cast<unsigned char>(c);
    QByteArray out;
    appendHexByte(out, sum & 0xFF);
    return out;
}

void FrameCodec::appendWireDigits(QByteArray& out, quint32 value, int bytes) {
    char digits[8];
    const int n = std::clamp(bytes, 0, 4);
    for (int b = 0; b < n; ++b) {
        const unsigned byte = (value >> (8 * b)) & 0xFF;
        digits[2 * b] = kHexDigits[(byte >> 4) & 0xF];
        digits[2 * b + 1] = kHexDigits[byte & 0xF];
    }
    out.append(digits, 2 * n);
}

void FrameCodec::build(const char* command, const QString& start, int bytes,
                       const QByteArray& data) {
    QByteArray body;
    body.reserve(10 + data.size());
    body.append(command);
    body.append(addressField(ValInt(start)));
    appendHexByte(body, unsigned(bytes));
    body.append(data);

    TxFrame.reserve(body.size() + 4);
    TxFrame.append(kStx);
    TxFrame.append(body);
    TxFrame.append(kEtx);
    TxFrame.append(sumDigits(body));
}

void FrameCodec::BuildReadRequest(const QString& start, const QString& count,
                                  const QString& width) {
    TxFrame.clear();
    const int size = bytesPerValue(width);
    const int n = clampCount(ValInt(count), size);
    build("0051", start, n * size, {});
    ReplyStartD = start;
    ReplyCount = n;
    ReplyWidth = width;
}

void FrameCodec::BuildWriteRequest(const QString& start, const QString& count,
                                   const QString& width) {
    TxFrame.clear();
    const int size = bytesPerValue(width);
    const int n = clampCount(ValInt(count), size);
    QByteArray data;
    data.reserve(2 * size * n);
    for (int row = 1; row <= n; ++row) {
        std::array<QString, 9>& cells = WriteValueTable[size_t(row)];
        // A value outside the width is sent as its two's complement kept to
        // the width: -1 goes out as FFFF at width 16 and FFFFFFFF at width 32,
        // 65536 as 0000 at width 16 (only the low 16 bits are kept).
        const quint32 value = quint32(qint32(ValInt(cells[0])));
        const qsizetype at = data.size();
        appendWireDigits(data, value, size);
        for (int k = 0; k < 2 * size; ++k) cells[size_t(k + 1)] = digitText(data[at + k]);
    }
    build("0061", start, n * size, data);
}

std::vector<std::optional<qint32>> FrameCodec::DecodeReadReply(QByteArrayView reply, int count,
                                                               const QString& width) {
    const int size = bytesPerValue(width);
    const int n = std::clamp(count, 0, kMaxReplyValues);
    std::vector<std::optional<qint32>> values(static_cast<size_t>(n));
    const qsizetype fieldLength = 2 * size;
    for (int i = 0; i < n; ++i) {
        const qsizetype at = kReplyDataOffset + qsizetype(i) * fieldLength;
        if (at >= reply.size()) break;  // this field and every later one are absent
        values[size_t(i)] =
            decodeField(reply.sliced(at, std::min(fieldLength, reply.size() - at)), size);
    }
    return values;
}

}  // namespace dye
