#include "ReplyCheck.h"

#include "link/FrameCodec.h"

namespace dye {
namespace {

constexpr int kEchoLength = 4;

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A character as the link log shows it (readableFrame).
QString shown(char c) {
    return readableFrame(QByteArray(1, c));
}

// The checks shared by both answers: `digits` data digits after STX, the
// echoed `command` and two characters; positions count from 1 at STX.
QString replyProblem(QByteArrayView reply, QByteArrayView command, int digits,
                     const QString& asked) {
    if (reply.isEmpty()) return QStringLiteral("no answer");
    const qsizetype expected = FrameCodec::kReplyDataOffset + digits + 3;
    if (reply.size() != expected)
        return QStringLiteral("too %1: %2 characters, expected %3 %4")
            .arg(reply.size() < expected ? QStringLiteral("short") : QStringLiteral("long"))
            .arg(reply.size())
            .arg(expected)
            .arg(asked);
    if (reply[0] != FrameCodec::kStx)
        return QStringLiteral("no STX at character 1 (found %1)").arg(shown(reply[0]));
    if (reply[expected - 3] != FrameCodec::kEtx)
        return QStringLiteral("no ETX at character %1 (found %2)")
            .arg(expected - 2)
            .arg(shown(reply[expected - 3]));
    if (const QByteArrayView echo = reply.sliced(1, kEchoLength); echo.compare(command) != 0)
        return QStringLiteral("wrong command echo: expected %1, got %2")
            .arg(QString::fromLatin1(command), readableFrame(echo.toByteArray()));
    for (int i = 0; i < digits; ++i) {
        const char c = reply[FrameCodec::kReplyDataOffset + i];
        if (!isHex(c))
            return QStringLiteral("character %1 is %2, not a hex digit")
                .arg(FrameCodec::kReplyDataOffset + i + 1)
                .arg(shown(c));
    }
    const QByteArray sum = FrameCodec::sumDigits(reply.sliced(1, expected - 4));
    const QByteArrayView got = reply.sliced(expected - 2);
    if (got.compare(sum, Qt::CaseInsensitive) != 0)
        return QStringLiteral("wrong sum: expected %1, got %2")
            .arg(QString::fromLatin1(sum), readableFrame(got.toByteArray()));
    return {};
}

}  // namespace

QString readableFrame(const QByteArray& frame) {
    QString out;
    for (char c : frame) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 2)
            out += QStringLiteral("<STX>");
        else if (u == 3)
            out += QStringLiteral("<ETX>");
        else if (u < 32 || u > 126)
            out += QStringLiteral("<%1>").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QLatin1Char(c);
    }
    return out;
}

QString readReplyProblem(QByteArrayView reply, int count, const QString& width) {
    if (count <= 0) return QStringLiteral("no values were asked for");
    const int bytes = FrameCodec::bytesPerValue(width);
    return replyProblem(reply, "0051", 2 * bytes * count,
                        QStringLiteral("for %1 values of %2 bits").arg(count).arg(8 * bytes));
}

QString writeReplyProblem(QByteArrayView reply) {
    return replyProblem(reply, "0061", 0, QStringLiteral("for a write"));
}

bool replyIsWhole(QByteArrayView reply, int count, const QString& width) {
    return readReplyProblem(reply, count, width).isEmpty();
}

}  // namespace dye
