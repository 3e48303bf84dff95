#include "setup/RecordRates.h"

#include "platform/core/StrUtils.h"

#include <algorithm>

std::string RateText(int rate) {
    return Format("%d IPS", rate); // untranslated: the recorder's setup words
}

RateListSpec MakeRateList(int first, int bound, int rate) {
    RateListSpec list;
    list.first = first;
    list.last = std::min(bound, kMaxRateEntry);
    const int index = rate - first;
    list.selected = index >= 0 && index < list.Count() ? index : -1;
    return list;
}

int ChannelShare(int manual, int event) {
    return std::max(manual, event);
}

int RemainingRate(int budget, const std::array<int, 4>& manual, const std::array<int, 4>& event) {
    long long left = budget;
    for (std::size_t c = 0; c < 4; ++c)
        left -= ChannelShare(manual[c], event[c]);
    // Rates come from the file unchecked; keep the sum inside an int.
    return static_cast<int>(std::clamp<long long>(left, -1000000, 1000000));
}

RateLists BuildRateLists(const RecordGroupSettings& g, int channel, int cameraCount, int maxFrameRate,
                         ManualStart start) {
    RateLists lists;
    if ((cameraCount != 1 && cameraCount != 4) || channel < 0 || channel >= kRecordChannels) return lists;
    const auto c = static_cast<std::size_t>(channel);
    int hddBound = maxFrameRate;
    int cfBound = kCfRateBudget;
    if (cameraCount == 4) {
        const long long ownHdd = ChannelShare(g.ManualHddRate[c], g.EventHddRate[c]);
        const long long ownCf = ChannelShare(g.ManualCfRate[c], g.EventCfRate[c]);
        hddBound = static_cast<int>(std::clamp<long long>(
            RemainingRate(maxFrameRate, g.ManualHddRate, g.EventHddRate) + ownHdd, -1, kMaxRateEntry));
        cfBound = static_cast<int>(std::clamp<long long>(
            RemainingRate(kCfRateBudget, g.ManualCfRate, g.EventCfRate) + ownCf, -1, kMaxRateEntry));
    }
    lists.eventHdd = MakeRateList(0, hddBound, g.EventHddRate[c]);
    lists.eventCf = MakeRateList(0, cfBound, g.EventCfRate[c]);
    const bool hddFromOne =
        start == ManualStart::ByEventSelection ? lists.eventHdd.selected != 0 : g.EventHddRate[c] != 0;
    const bool cfFromOne =
        start == ManualStart::ByEventSelection ? lists.eventCf.selected != 0 : g.EventCfRate[c] != 0;
    lists.manualHdd = MakeRateList(hddFromOne ? 1 : 0, hddBound, g.ManualHddRate[c]);
    lists.manualCf = MakeRateList(cfFromOne ? 1 : 0, cfBound, g.ManualCfRate[c]);
    return lists;
}

bool ManualRateLifted(int rate, bool cf) {
    return cf ? rate <= 1 : rate < 1;
}
