// The run of an animation over a range of strip frames, shared by both animation controls.
#pragma once

#include "platform/core/Types.h"

namespace controls_internal {

// One timer tick: advances `frame` by `step`; at the end of the run a repeated run starts over and
// any other stops on the last frame. Returns true when a non-repeated run has just ended.
inline bool AdvanceRun(int& frame, int step, int startFrame, int stopFrame, bool repeated) {
    frame += step;
    const bool ended = (step > 0 && frame > stopFrame) || (step < 0 && frame < stopFrame);
    if (!ended) return false;
    if (repeated) {
        frame = startFrame;
        return false;
    }
    frame = stopFrame;
    return true;
}

inline int RunStep(int startFrame, int stopFrame) {
    return startFrame < stopFrame ? 1 : -1;
}

} // namespace controls_internal
