#pragma once

#include "model/StationValues.h"

namespace dye {

// The no-flow watch of a metering station: a phase counter runs 0..16 and
// round again; the actual weight is remembered at phase 1 and compared at
// phase 15, and every comparison that finds the weight unchanged raises the
// stall count. It advances on every tick of the long opening and once per
// pulse computation; the station acts on the count (13 ends the opening, 15
// raises the no-flow alarm).
inline void clearNoFlowWatch(MeteringStation& st) {
    st.StallCount = 0;
    st.StallPhase = 0;
}

inline void advanceNoFlowWatch(MeteringStation& st, double actual) {
    st.StallPhase = st.StallPhase >= 16 ? 0 : st.StallPhase + 1;
    if (st.StallPhase == 1) st.LastActual = actual;
    if (st.StallPhase == 15 && actual == st.LastActual) ++st.StallCount;
}

}  // namespace dye
