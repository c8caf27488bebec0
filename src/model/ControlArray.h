#pragma once

#include <QString>

#include <array>

namespace dye {

// A control array of captions or texts, indexed as on the screen (Label2(0)
// is Label2[0]). An index outside the array reads empty and writes nowhere,
// so a computed index can never corrupt a screen.
template <size_t N>
class Captions {
  public:
    QString& operator[](int i) {
        if (valid(i)) return items_[size_t(i)];
        scratch_.clear();
        return scratch_;
    }
    const QString& operator[](int i) const { return valid(i) ? items_[size_t(i)] : empty(); }
    static constexpr int size() { return int(N); }
    static constexpr bool valid(int i) { return i >= 0 && i < int(N); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    static const QString& empty() {
        static const QString e;
        return e;
    }
    std::array<QString, N> items_{};
    QString scratch_;
};

}  // namespace dye
