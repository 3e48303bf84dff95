// Whole sessions: one run of the client and the recorder, 8 to 15 roads in an order drawn from a seed,
// the same checks after each. HARBEK_MODEL_SEED=N walks only the seed N (the failure message names
// it), HARBEK_MODEL_ROADS=K makes every seed walk K roads, HARBEK_MODEL_LEAVE_OUT=a,b never takes the
// roads named. An odd seed's recorder answers the log-in
// with result 3, an even seed's with result 2 (an older recorder), whose windows differ.
#include "tests/e2e/Model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace e2e {
namespace {

// The seeds `make test` walks: one of each kind of recorder.
const unsigned kSeeds[] = {4, 5};

std::vector<unsigned> Seeds() {
    if (const char* seed = std::getenv("HARBEK_MODEL_SEED"))
        return {static_cast<unsigned>(std::strtoul(seed, nullptr, 10))};
    return {std::begin(kSeeds), std::end(kSeeds)};
}

int RoadCount(Model& m) {
    if (const char* count = std::getenv("HARBEK_MODEL_ROADS")) return std::max(1, std::atoi(count));
    return 8 + m.Pick(8);
}

// The next road: of those the state allows, one walked least so far, not the last one again while
// another can go.
const ModelRoad& NextRoad(Model& m, const std::map<std::string, int>& walked, const std::string& last) {
    const char* leaveOut = std::getenv("HARBEK_MODEL_LEAVE_OUT");
    const std::string left = "," + std::string(leaveOut ? leaveOut : "") + ",";
    std::vector<const ModelRoad*> open;
    for (const ModelRoad& road : ModelRoads())
        if (road.can(m.state) && left.find("," + std::string(road.name) + ",") == std::string::npos)
            open.push_back(&road);
    if (open.empty()) Fail("no road can go on from here");
    if (open.size() > 1)
        open.erase(
            std::remove_if(open.begin(), open.end(), [&](const ModelRoad* r) { return r->name == last; }),
            open.end());
    const auto times = [&](const ModelRoad* r) {
        const auto it = walked.find(r->name);
        return it == walked.end() ? 0 : it->second;
    };
    const int least = times(
        *std::min_element(open.begin(), open.end(), [&](auto* a, auto* b) { return times(a) < times(b); }));
    open.erase(
        std::remove_if(open.begin(), open.end(), [&](const ModelRoad* r) { return times(r) != least; }),
        open.end());
    return *open[static_cast<std::size_t>(m.Pick(int(open.size())))];
}

class ModelSession : public ::testing::TestWithParam<unsigned> {};

TEST_P(ModelSession, Walk) {
    const unsigned seed = GetParam();
    Session session("model_seed_" + std::to_string(seed));
    Model m(session, seed);
    m.state.result = seed % 2 ? 3 : 2;
    std::string walked = "result " + std::to_string(m.state.result) + ":";
    std::string failure;
    try {
        session.Start({.recorderArgs = {"--sysinfo", std::to_string(m.state.result)},
                       .clientEnv = {},
                       .control = true});
        for (const auto& entry : fs::directory_iterator(fs::path(session.Store()) / "avfiles"))
            if (entry.is_directory()) m.state.playable.push_back(entry.path());
        std::sort(m.state.playable.begin(), m.state.playable.end());
        m.mainBox = m.c.Main().box;
        const int count = RoadCount(m);
        std::map<std::string, int> times;
        std::string last;
        for (int k = 0; k < count; ++k) {
            const ModelRoad& road = NextRoad(m, times, last);
            walked += std::string(" ") + road.name;
            std::cout << "seed " << seed << " road " << k + 1 << "/" << count << ": " << road.name
                      << std::endl;
            road.walk(m);
            ++m.state.steps;
            CheckInvariants(m, std::string("after ") + road.name);
            ++times[road.name];
            last = road.name;
        }
    } catch (const std::exception& e) {
        failure = e.what();
        ADD_FAILURE() << failure << "\nseed " << seed << " (HARBEK_MODEL_SEED=" << seed
                      << " replays it), roads: " << walked;
    }
    if (HasFailure())
        std::cout << "kept for the reader: " << session.KeepForReader(failure + "\nroads: " + walked)
                  << std::endl;
    else
        session.Discard();
}

INSTANTIATE_TEST_SUITE_P(Model, ModelSession, ::testing::ValuesIn(Seeds()),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

} // namespace
} // namespace e2e
