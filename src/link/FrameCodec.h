#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace dye {

// The controller's ASCII frames. A request is STX, a four-character command
// ("0051" read, "0061" write), the register's word address (0x1C00 + 2·d, four
// hex digits), the byte count (two hex digits), the data of a write, ETX and
// the two last hex digits of the sum of every character after STX up to and
// including ETX. Values travel low byte first, each byte as two upper-case
// hex digits.
//
// The members keep the codec's state between building a read and decoding its
// answer, and the table the caller fills with the values of a write; they are
// public under the names every user of the link knows them by.
class FrameCodec {
  public:
    static constexpr char kStx = '\x02';
    static constexpr char kEtx = '\x03';
    static constexpr int kBaseAddress = 0x1C00;
    // The count field is two hex digits: at most 255 data bytes per frame,
    // so at most 127 values at width 16 and 63 at width 32.
    static constexpr int kMaxBytes = 255;
    // Index (from 0) of the first value digit of a reply: STX and six
    // characters come before the data.
    static constexpr int kReplyDataOffset = 7;
    // A reply is never decoded into more values than the station's table of
    // answer fields can hold.
    static constexpr int kMaxReplyValues = 255;

    // The text of the last frame built; cleared at the start of every build.
    QByteArray TxFrame;
    // Start register, number of values and width of the last read request.
    QString ReplyStartD;
    int ReplyCount = 0;
    QString ReplyWidth;
    // Rows 1..n, cell 0: the decimal text of the values of the next write.
    // Cells 1..8 receive each value's hex digits in wire order. Row 0 is unused.
    std::array<std::array<QString, 9>, 256> WriteValueTable;

    // Builds the read of `count` values from register `start` at `width`
    // ("16" or "32") into TxFrame and remembers the request for the decoder.
    void BuildReadRequest(const QString& start, const QString& count, const QString& width);
    // Builds the write of WriteValueTable rows 1..count to `start` at `width`
    // into TxFrame. The remembered read request is left alone.
    void BuildWriteRequest(const QString& start, const QString& count, const QString& width);
    // The `count` values of a read's answer, each absent when the reply holds
    // no digit for it or holds a character that is not a hex digit in its
    // field. A field cut short by the end of the reply is read from the digits
    // present. At most kMaxReplyValues entries are returned.
    static std::vector<std::optional<qint32>> DecodeReadReply(QByteArrayView reply, int count,
                                                              const QString& width);

    // Bytes per value: 4 when the width reads as the number 32, 2 otherwise.
    static int bytesPerValue(const QString& width);
    // The number of values a frame can carry: `count` clamped to 0 and to what
    // the count field holds at that value size.
    static int clampCount(qint64 count, int bytesPerValue);
    // Four hex digits of register d's word address (kept to 16 bits).
    static QByteArray addressField(qint64 d);
    // Two upper-case hex digits of the sum of `body` plus ETX.
    static QByteArray sumDigits(QByteArrayView body);
    // Appends the `bytes` low bytes of `value`, least significant first, each
    // as two upper-case hex digits.
    static void appendWireDigits(QByteArray& out, quint32 value, int bytes);

  private:
    void build(const char* command, const QString& start, int bytes, const QByteArray& data);
};

}  // namespace dye
