#include <gtest/gtest.h>

#include <QStringList>

#include <limits>

#include "link/FrameCodec.h"
#include "link/ReplyCheck.h"

using namespace dye;

namespace {

QByteArray frame(const char* body, const char* sum) {
    return QByteArray(1, '\x02') + body + '\x03' + sum;
}

QByteArray writeFrame(FrameCodec& codec, const QString& start, const QStringList& values,
                      const QString& width) {
    for (int i = 0; i < values.size(); ++i) codec.WriteValueTable[size_t(i + 1)][0] = values[i];
    codec.BuildWriteRequest(start, QString::number(values.size()), width);
    return codec.TxFrame;
}

// The data digits of a one-value write.
QByteArray dataOf(const QString& value, const QString& width) {
    FrameCodec codec;
    const QByteArray f = writeFrame(codec, "0", {value}, width);
    return f.mid(11, f.size() - 14);
}

// A read's answer as it comes in: STX, "0051", status "00", then `data` as given.
QByteArray answer(const char* data) {
    return QByteArray(1, '\x02') + "005100" + data;
}

std::optional<qint32> decodeOne(const char* digits, const char* width) {
    return FrameCodec::DecodeReadReply(answer(digits), 1, width)[0];
}

}  // namespace

TEST(FrameCodec, ReadRequestsAndTheRememberedRequest) {
    FrameCodec codec;
    codec.BuildReadRequest("190", "4", "32");
    EXPECT_EQ(codec.TxFrame, frame("00511D7C10", "19"));
    codec.BuildReadRequest("274", "5", "16");
    EXPECT_EQ(codec.TxFrame, frame("00511E240A", "16"));
    EXPECT_EQ(codec.ReplyStartD, "274");
    EXPECT_EQ(codec.ReplyCount, 5);
    EXPECT_EQ(codec.ReplyWidth, "16");

    codec.BuildReadRequest("0", "1", "16");
    EXPECT_EQ(codec.TxFrame.mid(5, 6), "1C0002");
    codec.BuildReadRequest("1000", "3", "16");
    EXPECT_EQ(codec.TxFrame.mid(9, 2), "06");
    codec.BuildReadRequest("1000", "10", "32");
    EXPECT_EQ(codec.TxFrame.mid(9, 2), "28");
    // Any width other than 32 counts as 16.
    codec.BuildReadRequest("1000", "10", "8");
    EXPECT_EQ(codec.TxFrame.mid(9, 2), "14");

    // A write leaves the remembered read alone.
    writeFrame(codec, "840", {"1"}, "16");
    EXPECT_EQ(codec.ReplyStartD, "1000");
    EXPECT_EQ(codec.ReplyCount, 10);
}

TEST(FrameCodec, WriteRequestsLayValuesLowByteFirst) {
    FrameCodec codec;
    EXPECT_EQ(writeFrame(codec, "840", {"1"}, "16"), frame("00612290020100", "BA"));
    EXPECT_EQ(writeFrame(codec, "800", {"1", "2"}, "16"), frame("006122400401000200", "79"));
    // The scratch cells hold the digits in wire order.
    EXPECT_EQ(codec.WriteValueTable[2][1] + codec.WriteValueTable[2][2] +
                  codec.WriteValueTable[2][3] + codec.WriteValueTable[2][4],
              "0200");

    EXPECT_EQ(dataOf("0", "16"), "0000");
    EXPECT_EQ(dataOf("255", "16"), "FF00");
    EXPECT_EQ(dataOf("4660", "16"), "3412");
    EXPECT_EQ(dataOf("168496141", "32"), "0D0C0B0A");
    // Outside 0..65535 at width 16: two's complement, low 16 bits kept.
    EXPECT_EQ(dataOf("-1", "16"), "FFFF");
    EXPECT_EQ(dataOf("-32768", "16"), "0080");
    EXPECT_EQ(dataOf("65536", "16"), "0000");
    EXPECT_EQ(dataOf("70000", "16"), "7011");
    EXPECT_EQ(dataOf("-1", "32"), "FFFFFFFF");
    // Decimal text goes through the leading-number parse.
    EXPECT_EQ(dataOf("12abc", "16"), "0C00");
}

TEST(FrameCodec, CountsAreClampedToTheCountField) {
    FrameCodec codec;
    codec.BuildReadRequest("100", "200", "16");
    EXPECT_EQ(codec.TxFrame.mid(9, 2), "FE");
    EXPECT_EQ(codec.ReplyCount, 127);
    codec.BuildReadRequest("100", "200", "32");
    EXPECT_EQ(codec.TxFrame.mid(9, 2), "FC");
    codec.BuildReadRequest("100", "-3", "16");
    EXPECT_EQ(codec.TxFrame.mid(9, 2), "00");
    EXPECT_EQ(codec.ReplyCount, 0);

    codec.BuildWriteRequest("100", "1000", "16");
    EXPECT_EQ(codec.TxFrame.size(), 1 + 10 + 127 * 4 + 3);
    codec.BuildWriteRequest("100", "1000", "32");
    EXPECT_EQ(codec.TxFrame.size(), 1 + 10 + 63 * 8 + 3);
}

TEST(FrameCodec, SumKeepsTheLastTwoDigits) {
    EXPECT_EQ(FrameCodec::sumDigits("00612290020100"), "BA");  // 0x2BA
    EXPECT_EQ(FrameCodec::sumDigits("\x07"), "0A");
    EXPECT_EQ(FrameCodec::sumDigits("\xFD"), "00");
    // An address beyond D29183 still takes four digits.
    EXPECT_EQ(FrameCodec::addressField(29183), "FFFE");
    EXPECT_EQ(FrameCodec::addressField(29184), "0000");
}

TEST(FrameCodec, DecodesSignedValuesInEitherCase) {
    EXPECT_EQ(decodeOne("3412", "16"), 4660);
    EXPECT_EQ(decodeOne("FFFF", "16"), -1);
    EXPECT_EQ(decodeOne("0080", "16"), -32768);
    EXPECT_EQ(decodeOne("0D0C0B0A", "32"), 168496141);
    EXPECT_EQ(decodeOne("0d0c0b0a", "32"), 168496141);
    EXPECT_EQ(decodeOne("FFFFFFFF", "32"), -1);
    EXPECT_EQ(decodeOne("00000080", "32"), std::numeric_limits<qint32>::min());

    const QByteArray reply = answer("D20700000300000000000000") + '\x03' + "00";
    const auto values = FrameCodec::DecodeReadReply(reply, 3, "32");
    EXPECT_EQ(values, (std::vector<std::optional<qint32>>{2002, 3, 0}));
}

TEST(FrameCodec, ShortAndGarbledRepliesGiveAbsentValues) {
    using Values = std::vector<std::optional<qint32>>;
    auto decode = [](const QByteArray& reply, int count, const char* width) {
        return FrameCodec::DecodeReadReply(reply, count, width);
    };
    // Nine characters for two values: the first is read from its two digits.
    EXPECT_EQ(decode(answer("3F"), 2, "16"), (Values{0x3F, std::nullopt}));
    EXPECT_EQ(decode(answer("341"), 1, "16"), (Values{0x134}));
    EXPECT_EQ(decode(answer("0D0C0"), 1, "32"), (Values{0xC0D}));
    EXPECT_EQ(decode("", 2, "16"), (Values{std::nullopt, std::nullopt}));
    EXPECT_EQ(decode(answer(""), 1, "32"), (Values{std::nullopt}));
    // A field holding a character that is not a hex digit is absent; the
    // fields around it are not affected.
    EXPECT_EQ(decode(answer("0100G2000300"), 3, "16"), (Values{1, std::nullopt, 3}));
    EXPECT_EQ(decode(answer("\x03") + '1', 1, "16"), (Values{std::nullopt}));
    EXPECT_TRUE(decode(answer("0100"), -5, "16").empty());
    EXPECT_EQ(decode(answer("0100"), 100000, "16").size(), 255u);
}

namespace {

// A framed answer with its right sum.
QByteArray framed(const QByteArray& body) {
    return QByteArray(1, '\x02') + body + '\x03' + FrameCodec::sumDigits(body);
}

}  // namespace

// Every refused answer says what was found against what was expected, as the
// link log, the link alarm and the link test screen show it.
TEST(ReplyCheck, SaysWhyAnAnswerIsRefused) {
    const QByteArray whole = framed("0051003412FFFF");  // two 16-bit values
    QByteArray noEtx = whole;
    noEtx[15] = '0';
    QByteArray badSum = whole;
    badSum[17] = badSum[17] == '0' ? '1' : '0';
    const struct {
        QByteArray reply;
        const char* why;  // "" for an answer taken
    } cases[] = {
        {whole, ""},
        {framed("0051003412ffff"), ""},
        {QByteArray(), "no answer"},
        {whole.left(10), "too short: 10 characters, expected 18 for 2 values of 16 bits"},
        {whole + "X", "too long: 19 characters, expected 18"},
        {"X" + whole.mid(1), "no STX at character 1 (found X)"},
        {noEtx, "no ETX at character 16 (found 0)"},
        {framed("0061003412FFFF"), "wrong command echo: expected 0051, got 0061"},
        {framed("00510034G2FFFF"), "character 10 is G, not a hex digit"},
        {badSum, "wrong sum: expected"},
    };
    for (const auto& c : cases) {
        const QString why = readReplyProblem(c.reply, 2, QStringLiteral("16"));
        EXPECT_TRUE(*c.why ? why.startsWith(QString::fromLatin1(c.why)) : why.isEmpty())
            << readableFrame(c.reply).toStdString() << ": " << why.toStdString();
        EXPECT_EQ(replyIsWhole(c.reply, 2, QStringLiteral("16")), *c.why == 0);
    }
    EXPECT_TRUE(readReplyProblem(whole, 1, QStringLiteral("32")).isEmpty());  // 8 digits either way
    EXPECT_TRUE(readReplyProblem(whole, 2, QStringLiteral("32")).startsWith("too short"));
    EXPECT_EQ(writeReplyProblem(framed("006100")), QString());
    EXPECT_EQ(writeReplyProblem(framed("005100")), "wrong command echo: expected 0061, got 0051");
}
