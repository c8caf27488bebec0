#pragma once

#include <QString>

#include <array>

namespace dye {

// A control array, indexed as on the screen (Label2(0) is Label2[0]). An
// index outside the array reads a default control and writes nowhere, so a
// computed index can never corrupt a screen.
template <typename T, size_t N>
class ControlArray {
  public:
    T& operator[](int i) {
        if (valid(i)) return items_[size_t(i)];
        scratch_ = T{};
        return scratch_;
    }
    const T& operator[](int i) const { return valid(i) ? items_[size_t(i)] : empty(); }
    static constexpr int size() { return int(N); }
    static constexpr bool valid(int i) { return i >= 0 && i < int(N); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    static const T& empty() {
        static const T e{};
        return e;
    }
    std::array<T, N> items_{};
    T scratch_{};
};

// A control array of captions or texts.
template <size_t N>
using Captions = ControlArray<QString, N>;

}  // namespace dye
