#include "client/AvFrameRoute.h"

#include "platform/core/SysTime.h"

#include <algorithm>

AvFrameRoute RouteAvFrame(const QelFrameInfo& info, const AvFrameSwitches& switches, AvShowState& state) {
    AvFrameRoute route;
    if (switches.queue) {
        route.way = AvFrameWay::Queue;
        return route;
    }
    // A bad standard byte would turn the layout to one standard and the clocks to the other: keep the
    // last good one.
    if (info.standard == QELSTD_NTSC || info.standard == QELSTD_PAL) state.videoStandard = info.standard;
    // Sound has no picture size: the layout and the print go by the last picture's.
    if (info.IsVideo()) {
        state.lastWidth = info.width;
        state.lastHeight = info.height;
    }
    if (switches.saving) {
        route.way = AvFrameWay::Save;
        return route;
    }
    if (!switches.live && !switches.search) return route;

    route.way = AvFrameWay::Show;
    if (info.channel >= 1 && info.channel <= 4) {
        route.markChannel = static_cast<int>(info.channel);
        route.showAlarm = info.eventState == 1 || info.eventState == 3;
        route.showMotion = info.eventState == 2 || info.eventState == 3;
    }
    state.lastDisplayedTime = info.frameTime;
    route.timeChannel = static_cast<int>(std::clamp<DWORD>(info.channel, 1, 4));
    if (!info.IsVideo()) return route;

    route.drawPicture = true;
    // Only the first picture after a start ends the wait; a frame that merely is not newer must not
    // end some other wait that is running now.
    if (state.awaitingFirstPicture) {
        route.closeWait = true;
        state.awaitingFirstPicture = false;
    }
    state.lastShownTime = info.frameTime;
    state.lastShownStamp = info.subSecond;
    route.singleStepPause = switches.remotePlayState == 2;
    return route;
}

std::string FrameTimeToText(DWORD frameTime) {
    return AscTimeText(frameTime);
}
