#pragma once

#include <QList>

#include <map>

#include "link/RegisterImage.h"

namespace dye {

// The outputs a sequence has switched on, so that it can switch them on
// again after a lost link: when the controller answers again the scan
// switches every output off. An output on until closed (30000 and above) is
// put back as it was. A timed opening (1..29999 hundredths) is put back for
// what remains of its time; the seconds count while the controller may have
// run it, the link's absence included (a controller that only lost the link
// times its openings on), so nothing stays open longer than it was asked.
class HeldOutputs {
  public:
    static constexpr qint32 kUntilClosed = 30000;

    explicit HeldOutputs(RegisterImage& image) : image_(image) {}

    // Writes `value` into output `reg` and notes it; RegNoValue (off) and 0
    // forget it.
    void set(int reg, qint32 value);
    // One second passed in which the controller may have run the openings.
    void second() { ++seconds_; }
    // Writes every output still due again; returns their registers.
    QList<int> putBack();
    void clear() { on_.clear(); }

  private:
    struct On {
        qint32 value;
        qint64 since;  // the second it was sent
    };
    RegisterImage& image_;
    std::map<int, On> on_;
    qint64 seconds_ = 0;
};

}  // namespace dye
