#pragma once

#include <QSet>

namespace dye {

// The keyboard as the timers poll it. A view reports key presses and
// releases; GetAsyncKeyState(key) answers as the platform's key-state query
// does: -32767 when the key went down since the previous query of that key
// (once per press, however long it is held), -32768 while it is held, 0 when
// it is up. Auto-repeats of a held key are not new presses.
class KeyState {
  public:
    static constexpr int VK_F1 = 112;

    void keyDown(int key) {
        if (!down_.contains(key)) pressed_.insert(key);
        down_.insert(key);
    }
    void keyUp(int key) { down_.remove(key); }

    short GetAsyncKeyState(int key) {
        if (pressed_.remove(key)) return -32767;
        return down_.contains(key) ? short(-32768) : short(0);
    }

  private:
    QSet<int> down_;
    QSet<int> pressed_;
};

}  // namespace dye
