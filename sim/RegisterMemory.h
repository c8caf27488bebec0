#pragma once

#include <QtGlobal>

#include <vector>

namespace dye {

// The controller's data registers D0..D29183, 16 bits each. A 32-bit value
// spans two registers, the low word first. Out-of-range numbers read 0 and
// are not written.
class RegisterMemory {
  public:
    static constexpr int kCount = 29184;

    RegisterMemory() : d_(kCount, 0) {}

    static bool valid(int d) { return d >= 0 && d < kCount; }
    // Whether registers first..first+n-1 all exist.
    static bool validRange(int first, int n) {
        return n >= 0 && valid(first) && first + n <= kCount;
    }

    quint16 get(int d) const { return valid(d) ? d_[size_t(d)] : 0; }
    void set(int d, quint16 value) {
        if (valid(d)) d_[size_t(d)] = value;
    }
    qint32 get32(int d) const { return qint32(quint32(get(d)) | (quint32(get(d + 1)) << 16)); }
    void set32(int d, qint32 value) {
        set(d, quint16(quint32(value) & 0xFFFF));
        set(d + 1, quint16(quint32(value) >> 16));
    }

  private:
    std::vector<quint16> d_;
};

}  // namespace dye
