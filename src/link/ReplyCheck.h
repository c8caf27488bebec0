#pragma once

#include <QByteArrayView>
#include <QString>

namespace dye {

// Whether `reply` is the whole answer to a read of `count` values at `width`:
// STX, six characters, exactly the data digits (all hex), ETX and a correct
// two-digit sum. The scan stores nothing from any other answer (a dropped,
// cut, corrupted or stray reply), so the register image only ever holds
// values the controller sent; the slots keep their values and the next pass
// asks again.
bool replyIsWhole(QByteArrayView reply, int count, const QString& width);

}  // namespace dye
