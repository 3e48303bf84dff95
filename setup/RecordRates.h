// The image-rate rules of the recording page: which entries the four rate lists of a channel offer.
// The hard-disk rates of a group share the video standard's frame rate (30 NTSC, 25 PAL), the CF rates
// share 15; a channel's share is the larger of its MANUAL and EVENT rate. A one-camera recorder has no
// budget: its lists run to the full rate.
#pragma once

#include "setup/RecordSettings.h"

#include <array>
#include <string>

inline constexpr int kCfRateBudget = 15;
// The page's table of rate texts holds 0 IPS .. 30 IPS; no list grows past it.
inline constexpr int kMaxRateEntry = 30;

// "12 IPS".
std::string RateText(int rate);

// One list: the rates first..last (empty when last < first), and the item to select (-1: none).
struct RateListSpec {
    int first = 0;
    int last = -1;
    int selected = -1;

    int Count() const { return last < first ? 0 : last - first + 1; }
    // The rate an item index stands for.
    int RateAt(int index) const { return first + index; }
    bool operator==(const RateListSpec&) const = default;
};

// A list of first..bound (capped at 30 IPS) selecting the given rate.
RateListSpec MakeRateList(int first, int bound, int rate);

// budget minus the shares of the four channels.
int RemainingRate(int budget, const std::array<int, 4>& manual, const std::array<int, 4>& event);
int ChannelShare(int manual, int event);

struct RateLists {
    RateListSpec eventHdd;
    RateListSpec eventCf;
    RateListSpec manualHdd;
    RateListSpec manualCf;
    bool operator==(const RateLists&) const = default;
};

// Whether a MANUAL list starts at 1, as the page decides it when it shows a channel (by the EVENT list's
// selection) and when an EVENT rate changes (by the stored EVENT rate).
enum class ManualStart { ByEventSelection, ByEventRate };

// The four lists of channel 0..3 of the group. Any camera count but 1 and 4 gives empty lists.
RateLists BuildRateLists(const RecordGroupSettings& group, int channel, int cameraCount, int maxFrameRate,
                         ManualStart start);

// After an EVENT change, a MANUAL list that starts at 1 lifts a rate the list cannot show: below 1 on
// the hard disk, at most 1 on the CF card. The page then selects the first entry and switches RECORD on.
bool ManualRateLifted(int rate, bool cf);
