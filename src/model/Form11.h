#pragma once

#include <QString>

namespace dye {

// The order list window.
struct Form11 {
    QString Label3;  // copy of the main screen's diagnostic line
};

}  // namespace dye
