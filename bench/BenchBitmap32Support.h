// What the bitmap benchmarks share: the list of (our case, reference case) pairs and the table of
// reference time / our time printed after the runs (above 1.0: we are faster).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench32 {

inline std::vector<std::pair<std::string, std::string>>& Pairs() {
    static std::vector<std::pair<std::string, std::string>> pairs;
    return pairs;
}

// Keeps the per-iteration times for the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

// Runs the registered benchmarks and prints the ratio of every pair both of whose cases ran.
inline void RunWithRatioTable(int& argc, char** argv, int caseWidth, int referenceWidth) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-*s %-*s %8s\n", caseWidth, "case", referenceWidth, "reference", "ratio");
    for (const auto& [ours, reference] : Pairs()) {
        auto o = reporter.times.find(ours), r = reporter.times.find(reference);
        if (o == reporter.times.end() || r == reporter.times.end() || o->second <= 0) continue;
        std::printf("%-*s %-*s %8.2f\n", caseWidth, ours.c_str(), referenceWidth, reference.c_str(),
                    r->second / o->second);
    }
}

} // namespace bench32
