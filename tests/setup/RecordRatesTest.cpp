// The image-rate lists of a channel: the budgets of NTSC and PAL, one and four cameras, the hard disk
// and the CF card, where the budget runs out, and the cap of the rate texts.
#include "setup/RecordRates.h"

#include <gtest/gtest.h>

namespace {

struct ListsCase {
    const char* name;
    int cameras;
    int maxFrameRate;
    std::array<int, 4> manualHdd;
    std::array<int, 4> eventHdd;
    std::array<int, 4> manualCf;
    std::array<int, 4> eventCf;
    int channel;
    ManualStart start;
    RateLists expected; // event HDD, event CF, manual HDD, manual CF as {first, last, selected}
};

RecordGroupSettings Group(const ListsCase& c) {
    RecordGroupSettings g;
    g.ManualHddRate = c.manualHdd;
    g.EventHddRate = c.eventHdd;
    g.ManualCfRate = c.manualCf;
    g.EventCfRate = c.eventCf;
    return g;
}

constexpr std::array<int, 4> k3{3, 3, 3, 3};
constexpr std::array<int, 4> k5{5, 5, 5, 5};
constexpr auto kSel = ManualStart::ByEventSelection;
constexpr auto kRate = ManualStart::ByEventRate;

const ListsCase kListCases[] = {
    // Defaults, four cameras: 30 - 4 x 5 = 10 left, plus the channel's own 5.
    {"ntsc_four_defaults", 4, 30, k3, k5, k3, k3, 0, kSel, {{0, 15, 5}, {0, 6, 3}, {1, 15, 2}, {1, 6, 2}}},
    {"pal_four_defaults", 4, 25, k3, k5, k3, k3, 0, kSel, {{0, 10, 5}, {0, 6, 3}, {1, 10, 2}, {1, 6, 2}}},
    {"ntsc_four_defaults_ch4",
     4,
     30,
     k3,
     k5,
     k3,
     k3,
     3,
     kSel,
     {{0, 15, 5}, {0, 6, 3}, {1, 15, 2}, {1, 6, 2}}},
    // One camera: no budget, the whole standard and 15 on CF.
    {"ntsc_one", 1, 30, k3, k5, k3, k3, 0, kSel, {{0, 30, 5}, {0, 15, 3}, {1, 30, 2}, {1, 15, 2}}},
    {"pal_one", 1, 25, k3, k5, k3, k3, 0, kSel, {{0, 25, 5}, {0, 15, 3}, {1, 25, 2}, {1, 15, 2}}},
    {"ntsc_one_event_zero",
     1,
     30,
     k3,
     {0, 5, 5, 5},
     k3,
     {0, 3, 3, 3},
     0,
     kSel,
     {{0, 30, 0}, {0, 15, 0}, {0, 30, 3}, {0, 15, 3}}},
    {"pal_one_event_zero",
     1,
     25,
     {0, 3, 3, 3},
     {0, 5, 5, 5},
     k3,
     {0, 3, 3, 3},
     0,
     kSel,
     {{0, 25, 0}, {0, 15, 0}, {0, 25, 0}, {0, 15, 3}}},
    // Four cameras, the other channels at nothing: the channel may take the whole budget.
    {"ntsc_four_alone",
     4,
     30,
     {3, 0, 0, 0},
     {5, 0, 0, 0},
     {3, 0, 0, 0},
     {3, 0, 0, 0},
     0,
     kSel,
     {{0, 30, 5}, {0, 15, 3}, {1, 30, 2}, {1, 15, 2}}},
    {"pal_four_alone",
     4,
     25,
     {3, 0, 0, 0},
     {5, 0, 0, 0},
     {3, 0, 0, 0},
     {3, 0, 0, 0},
     0,
     kSel,
     {{0, 25, 5}, {0, 15, 3}, {1, 25, 2}, {1, 15, 2}}},
    // The manual rate is the share when it is the larger.
    {"ntsc_manual_share",
     4,
     30,
     {8, 3, 3, 3},
     {2, 5, 5, 5},
     {6, 3, 3, 3},
     {1, 3, 3, 3},
     0,
     kSel,
     {{0, 15, 2}, {0, 6, 1}, {1, 15, 7}, {1, 6, 5}}},
    // The others use exactly what is left: the channel keeps only its own share.
    {"ntsc_budget_exact",
     4,
     30,
     {3, 10, 10, 5},
     {5, 10, 5, 5},
     {3, 4, 4, 4},
     {3, 4, 4, 4},
     0,
     kSel,
     {{0, 5, 5}, {0, 3, 3}, {1, 5, 2}, {1, 3, 2}}},
    // The others use all of it: one entry on the event list, none that selects the stored rate.
    {"ntsc_budget_used_up",
     4,
     30,
     {3, 10, 10, 10},
     {5, 10, 10, 10},
     {3, 5, 5, 5},
     {3, 5, 5, 5},
     0,
     kSel,
     {{0, 0, -1}, {0, 0, -1}, {1, 0, -1}, {1, 0, -1}}},
    // The others ask more than the budget: every list is empty.
    {"ntsc_budget_overdrawn",
     4,
     30,
     {3, 20, 20, 20},
     {5, 20, 20, 20},
     {3, 9, 9, 9},
     {3, 9, 9, 9},
     0,
     kSel,
     {{0, -1, -1}, {0, -1, -1}, {1, -1, -1}, {1, -1, -1}}},
    // Lists without a selection leave -1 in the table: the bound never passes the 31 texts.
    {"negative_rates_capped",
     4,
     30,
     {3, -1, -1, -1},
     {5, -20, -20, -20},
     {3, -9, -9, -9},
     {3, -9, -9, -9},
     0,
     kSel,
     {{0, 30, 5}, {0, 30, 3}, {1, 30, 2}, {1, 30, 2}}},
    // Rates outside the list select nothing.
    {"stored_99",
     1,
     30,
     {99, 3, 3, 3},
     {99, 5, 5, 5},
     {99, 3, 3, 3},
     {99, 3, 3, 3},
     0,
     kSel,
     {{0, 30, -1}, {0, 15, -1}, {1, 30, -1}, {1, 15, -1}}},
    // Showing a channel decides the manual start by the event selection, an event change by the rate:
    // an empty event list with rate 0 gives different answers.
    {"empty_event_by_selection",
     4,
     30,
     {0, 20, 20, 20},
     {0, 20, 20, 20},
     {0, 9, 9, 9},
     {0, 9, 9, 9},
     0,
     kSel,
     {{0, -1, -1}, {0, -1, -1}, {1, -1, -1}, {1, -1, -1}}},
    {"empty_event_by_rate",
     4,
     30,
     {0, 20, 20, 20},
     {0, 20, 20, 20},
     {0, 9, 9, 9},
     {0, 9, 9, 9},
     0,
     kRate,
     {{0, -1, -1}, {0, -1, -1}, {0, -1, -1}, {0, -1, -1}}},
    {"rate_99_by_rate",
     1,
     30,
     k3,
     {99, 5, 5, 5},
     k3,
     {0, 3, 3, 3},
     0,
     kRate,
     {{0, 30, -1}, {0, 15, 0}, {1, 30, 2}, {0, 15, 3}}},
    // Counts the page does not know: nothing offered.
    {"two_cameras", 2, 30, k3, k5, k3, k3, 0, kSel, {}},
    {"no_cameras", 0, 25, k3, k5, k3, k3, 0, kSel, {}},
    {"channel_out_of_range", 4, 30, k3, k5, k3, k3, 4, kSel, {}},
};

class RateListsTest : public ::testing::TestWithParam<ListsCase> {};

TEST_P(RateListsTest, OffersTheRatesTheBudgetLeaves) {
    const ListsCase& c = GetParam();
    const RateLists got = BuildRateLists(Group(c), c.channel, c.cameras, c.maxFrameRate, c.start);
    auto show = [](const RateListSpec& l) {
        return std::to_string(l.first) + ".." + std::to_string(l.last) + " sel " + std::to_string(l.selected);
    };
    EXPECT_EQ(show(got.eventHdd), show(c.expected.eventHdd)) << "event HDD";
    EXPECT_EQ(show(got.eventCf), show(c.expected.eventCf)) << "event CF";
    EXPECT_EQ(show(got.manualHdd), show(c.expected.manualHdd)) << "manual HDD";
    EXPECT_EQ(show(got.manualCf), show(c.expected.manualCf)) << "manual CF";
}

INSTANTIATE_TEST_SUITE_P(Budgets, RateListsTest, ::testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RateListsTest, OneCameraListLengths) {
    const RecordGroupSettings g;
    RecordGroupSettings zero;
    zero.EventHddRate[0] = 0;
    zero.EventCfRate[0] = 0;
    EXPECT_EQ(BuildRateLists(zero, 0, 1, 30, kSel).eventHdd.Count(), 31);
    EXPECT_EQ(BuildRateLists(zero, 0, 1, 30, kSel).manualHdd.Count(), 31);
    EXPECT_EQ(BuildRateLists(g, 0, 1, 30, kSel).manualHdd.Count(), 30);
    EXPECT_EQ(BuildRateLists(g, 0, 1, 30, kSel).manualCf.Count(), 15);
    EXPECT_EQ(BuildRateLists(zero, 0, 1, 30, kSel).manualCf.Count(), 16);
}

TEST(RemainingRateTest, SharesAreTheLargerRate) {
    struct Row {
        int budget;
        std::array<int, 4> manual;
        std::array<int, 4> event;
        int left;
    };
    const Row rows[] = {
        {30, k3, k5, 10},
        {25, k3, k5, 5},
        {15, k3, k3, 3},
        {30, {10, 0, 0, 0}, {0, 0, 0, 0}, 20},
        {30, {0, 0, 0, 0}, {0, 0, 0, 0}, 30},
        {25, {7, 7, 7, 7}, {6, 6, 6, 6}, -3},
        {30, {-1, -1, -1, -1}, {-1, -1, -1, -1}, 34},
        {30, {2000000000, 2000000000, 0, 0}, {0, 0, 0, 0}, -1000000},
    };
    for (const Row& r : rows)
        EXPECT_EQ(RemainingRate(r.budget, r.manual, r.event), r.left) << r.budget << " " << r.manual[0];
}

TEST(RateListTest, MakeRateListBounds) {
    EXPECT_EQ(MakeRateList(0, 15, 15), (RateListSpec{0, 15, 15}));
    EXPECT_EQ(MakeRateList(0, 15, 16), (RateListSpec{0, 15, -1}));
    EXPECT_EQ(MakeRateList(1, 15, 0), (RateListSpec{1, 15, -1}));
    EXPECT_EQ(MakeRateList(1, 15, 1), (RateListSpec{1, 15, 0}));
    EXPECT_EQ(MakeRateList(0, 31, 31), (RateListSpec{0, 30, -1}));
    EXPECT_EQ(MakeRateList(0, 500, 30), (RateListSpec{0, 30, 30}));
    EXPECT_EQ(MakeRateList(1, 0, 1), (RateListSpec{1, 0, -1}));
    EXPECT_EQ(MakeRateList(0, -5, 0).Count(), 0);
    EXPECT_EQ(MakeRateList(1, 30, 7).RateAt(6), 7);
}

TEST(RateTextTest, NumberThenIps) {
    EXPECT_EQ(RateText(0), "0 IPS");
    EXPECT_EQ(RateText(5), "5 IPS");
    EXPECT_EQ(RateText(30), "30 IPS");
}

TEST(ManualRateLiftedTest, HardDiskBelowOneCardAtMostOne) {
    struct Row {
        int rate;
        bool cf;
        bool lifted;
    };
    const Row rows[] = {{-1, false, true}, {0, false, true}, {1, false, false}, {2, false, false},
                        {-1, true, true},  {0, true, true},  {1, true, true},   {2, true, false}};
    for (const Row& r : rows)
        EXPECT_EQ(ManualRateLifted(r.rate, r.cf), r.lifted) << r.rate << (r.cf ? " cf" : " hdd");
}

} // namespace
