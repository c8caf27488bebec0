#pragma once

#include <span>

namespace dye::share {

// One text of the language table: entry k of every language. The Traditional
// Chinese text is the screen's design caption; the Simplified block is made
// from it when the file is written.
struct Caption {
    int k;
    const char16_t* chinese;
    const char16_t* english;
};

std::span<const Caption> captions();

}  // namespace dye::share
