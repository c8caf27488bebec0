#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace dye {

// Control characters of a frame made readable: <STX>, <ETX>, <0D>.
QString readableFrame(const QByteArray& frame);

// Why `reply` is not the whole answer to a read of `count` values at `width`
// ("" when it is). A whole answer is STX, the read command "0051" and two
// more characters, exactly the data digits (all hex), ETX and a correct
// two-digit sum. The reason says what was found against what was expected:
// no answer; too short or too long for the count asked; no STX; no ETX where
// it belongs; another command echoed; a character that is not a hex digit;
// a wrong sum. It is what the link log, the link alarm and the link test
// screen show, so that a controller whose answers differ is diagnosed at
// commissioning in one look.
QString readReplyProblem(QByteArrayView reply, int count, const QString& width);

// Why `reply` is not the controller's whole answer to a write ("" when it
// is): STX, the write command "0061" and two more characters, ETX and a
// correct sum.
QString writeReplyProblem(QByteArrayView reply);

// readReplyProblem finds nothing. The scan stores nothing from any other
// answer (a dropped, cut, corrupted or stray reply), so the register image
// only ever holds values the controller sent; the slots keep their values and
// the next pass asks again.
bool replyIsWhole(QByteArrayView reply, int count, const QString& width);

}  // namespace dye
