#pragma once

#include <QApplication>

namespace dye::test {

// One application object for every view test of the executable (on the
// offscreen platform that CTest sets).
inline void ensureGuiApp() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace dye::test
