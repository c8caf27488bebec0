#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

namespace dye {

class RegisterMemory;

// One request the controller understood.
struct SimRequest {
    enum class Kind { Read, Write };
    Kind kind = Kind::Read;
    int first = 0;                // first register, D number
    int registers = 0;            // registers covered (byte count / 2)
    std::vector<quint16> values;  // a write's values, one per register
};

// Splits the character stream from the station into frames: from STX up to
// ETX and the two sum characters after it. Characters outside a frame are
// skipped; a new STX inside a frame starts over; a frame that runs longer
// than any request can be is dropped.
class FrameAssembler {
  public:
    static constexpr int kMaxFrame = 1 + 10 + 2 * 255 + 1 + 2;

    // Takes one character; returns the frame it completes, if any.
    std::optional<QByteArray> push(char c);
    void reset();

  private:
    enum class State { Idle, Body, Sum };
    State state_ = State::Idle;
    QByteArray frame_;
};

// Parses a whole frame. Nothing for a frame that is not a well-formed read
// or write of existing registers: a wrong sum, an unknown command, an address
// that is not a register's, an odd or zero byte count, data that does not
// match the count or is not hex. The controller ignores such a frame and
// does not answer it, as the real one does with line noise.
std::optional<SimRequest> parseRequest(QByteArrayView frame);

// STX "0051" "00" data ETX sum: registers first..first+n-1, each as four hex
// digits low byte first (the order the station's decoder reads at both widths).
QByteArray readReply(const RegisterMemory& memory, int first, int n);
// STX "0061" "00" ETX sum.
QByteArray writeReply();

}  // namespace dye
