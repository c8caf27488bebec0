#pragma once

#include <QtGlobal>

#include <array>

namespace dye {

// The station's copy of the controller's D registers: slot n mirrors Dn
// (1..7000). Parts of the station request a write by storing a value in a
// write slot; the scan cycle sends it and resets the slot to 0.
class RegisterImage {
  public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = 7000;
    // In a write slot: send a 0. Never a register value of its own.
    static constexpr qint32 RegNoValue = 999999;

    static constexpr bool valid(int n) { return n >= kFirst && n <= kLast; }

    // Slots outside 1..7000 read 0 and ignore writes, so a computed register
    // number that is out of range can never corrupt memory.
    qint32 get(int n) const { return valid(n) ? slots_[size_t(n)] : 0; }
    void set(int n, qint32 value) {
        if (valid(n)) slots_[size_t(n)] = value;
    }
    // Takes the value of a write slot and resets it to 0.
    qint32 take(int n) {
        qint32 v = get(n);
        set(n, 0);
        return v;
    }
    void clear() { slots_.fill(0); }

  private:
    std::array<qint32, kLast + 1> slots_{};
};

}  // namespace dye
