#pragma once

#include "link/Registers.h"
#include "station/StationState.h"

namespace dye {

// The phase codes D990..D992 the controller acknowledges.
inline void phaseCodes(StationState& s, int d990, int d991, int d992) {
    s.link.image.set(reg::Phase1, d990);
    s.link.image.set(reg::Phase1 + 1, d991);
    s.link.image.set(reg::Phase1 + 2, d992);
}

// The animation modes of the machine pictures (-1 leaves one as it is).
inline void setAnimation(StationState& s, int picture2, int picture1) {
    if (picture2 >= 0) s.AnimationState[0] = qint16(picture2);
    if (picture1 >= 0) s.AnimationState[2] = qint16(picture1);
}

}  // namespace dye
