#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace dye {

// What a peer sends back for a character it received: the characters of its
// answer (none for most characters) and how long after the character it
// starts to send them.
struct LoopAnswer {
    QByteArray bytes;
    qint64 latencyUs = 0;
};

// The far end of a LoopPort: a device in the same process (the controller
// simulator) that takes the station's characters one by one at the moments
// they come off the wire. Times are microseconds on the station's clock and
// never go backwards.
class LoopPeer {
  public:
    virtual ~LoopPeer() = default;

    // Moves the peer's own time (its physics) forward to `us`.
    virtual void advanceTo(qint64 us) = 0;
    // Character `c` has arrived at `us`; the peer has been advanced to `us`.
    virtual LoopAnswer receive(char c, qint64 us) = 0;
};

}  // namespace dye
