// TBmAnimation: a TBmFrame stepped from StartFrame to StopFrame by a message-loop timer.
#pragma once

#include "controls/BmFrame.h"
#include "controls/FrameRun.h"

namespace Bmani {

using Bmframe::TDirection;

class TBmAnimation : public controls_internal::TStripAnimation<Bmframe::TBmFrame> {
public:
    using TStripAnimation::TStripAnimation;
};

} // namespace Bmani

using Bmani::TBmAnimation;
