// Where a complete A/V frame goes (the queue of the step-wise remote playback, the stream saver, the
// screens, nowhere) and what showing it changes: the event marks, the time texts, the wait window, the
// single step. The main window applies the result to its controls.
#pragma once

#include "formats/QelAvFrame.h"

#include <string>

// The main window's switches that decide a frame's way.
struct AvFrameSwitches {
    bool queue = false;      // QueueAvFrames
    bool saving = false;     // StreamSaving
    bool live = false;       // LiveActive
    bool search = false;     // RemoteSearchActive
    int remotePlayState = 0; // 0 normal, 1 paused, 2 single step
};

// What the receiver keeps between frames.
struct AvShowState {
    BYTE videoStandard = QELSTD_PAL; // last valid standard byte (1 or 2) of a frame that was not queued
    DWORD lastWidth = 0;
    DWORD lastHeight = 0;
    DWORD lastShownTime = 0; // of the last video frame drawn
    DWORD lastShownStamp = 0;
    DWORD lastDisplayedTime = 0; // of the last frame shown, video or audio
    // Set by the starters of live view and remote search: the next picture ends their wait.
    bool awaitingFirstPicture = false;
};

enum class AvFrameWay { Queue, Save, Drop, Show };

struct AvFrameRoute {
    AvFrameWay way = AvFrameWay::Drop;
    int markChannel = 0; // 1..4: set that screen's marks; 0: no mark changes
    bool showAlarm = false;
    bool showMotion = false;
    int timeChannel = 1;          // 1..4: whose time text the frame sets
    bool drawPicture = false;     // a video frame: draw payload 1 into the screen of timeChannel
    bool closeWait = false;       // enable the main window and close the wait window
    bool singleStepPause = false; // after drawing: queue from now on and pause the socket
};

// Decides the way of a frame and updates `state` as the receiver does. Frames whose payloads do not fit
// never get here: the receiver drops them.
AvFrameRoute RouteAvFrame(const QelFrameInfo& info, const AvFrameSwitches& switches, AvShowState& state);

// "Tue Jan 01 12:00:00 2008\n": the frame time broken down as UTC.
std::string FrameTimeToText(DWORD frameTime);
