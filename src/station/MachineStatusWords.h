#pragma once

#include <QtGlobal>

#include <array>

namespace dye {

// The machine's status words: [0] the alarm waiting for the operator (0
// none), [1] the queue length and [10] the post counter of the plant's
// status posts. The alarm is raised by the station that parks on it and
// goes when the operator acknowledges it or a stop ends it.
class MachineStatusWords {
  public:
    qint16 alarm() const { return words_[0]; }
    void raise(qint16 code) { words_[0] = code; }
    // `code` acknowledged: when it is the alarm shown, `next` shows instead
    // (another alarm still waiting, or 0).
    void acknowledge(qint16 code, qint16 next = 0) {
        if (words_[0] == code) words_[0] = next;
    }
    // The stop: no metering alarm (codes 1..8) stands any longer.
    void clearMeteringAlarm() {
        if (words_[0] >= 1 && words_[0] <= 8) words_[0] = 0;
    }

    qint16 queueLength() const { return words_[1]; }
    void setQueueLength(qint16 n) { words_[1] = n; }
    qint16& postCounter() { return words_[10]; }

  private:
    std::array<qint16, 16> words_{};
};

}  // namespace dye
