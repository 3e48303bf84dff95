// Recorded frames read per second: a generated recording of four cameras at the full rate with sound
// and side data, read through the reader's forward steps with their payload copies, and through the
// reader thread into the rings with a consumer emptying them as fast as it can; each against a plain
// sequential read of the same file in 64 KB blocks in the same run. The counter "ratio" is the reader's
// frame rate over the plain read's (1.0 = as fast); "ratio_median" the median of the iterations' ratios. The
// file stays in the page cache throughout.
#include "formats/ByteOrder.h"
#include "playback/Qelvidfile.h"
#include "tools/recgen/RecordingStore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Recording {
    std::string folder;
    std::string path;
    std::size_t frames = 0;
};

const Recording& TheRecording() {
    static const Recording recording = [] {
        Recording r;
        char pattern[] = "/tmp/bench_playback.XXXXXX";
        r.folder = mkdtemp(pattern);
        setenv("HARBEK_REGISTRY", (r.folder + "/registry.ini").c_str(), 1);
        setenv("HARBEK_HOME", r.folder.c_str(), 1);
        recgen::StoreOptions options;
        options.days = 1;
        options.hours = {10};
        options.secondsPerRecording = 20;
        options.stream.framesPerSecond = 0;
        const auto made = recgen::GenerateRecordings(r.folder, options);
        r.path = r.folder + "/avfiles/" + made.front().fileName;
        r.frames = std::filesystem::file_size(r.path + ".fdx") / 4;
        return r;
    }();
    return recording;
}

constexpr int kPollsBeforeYield = 64;

void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// The whole file in 64 KB blocks; seconds, or -1 when it could not be read.
double PlainRead(const std::string& path) {
    static std::vector<char> block(64 * 1024);
    const auto start = Clock::now();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return -1;
    std::size_t got = 0, total = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
        total += got;
        benchmark::DoNotOptimize(block.data());
    }
    std::fclose(file);
    benchmark::DoNotOptimize(total);
    return SecondsSince(start);
}

// Every frame through StepNext and a payload copy; returns the frames read.
std::size_t ReadBySteps(CQelVideoFile& reader, const std::string& path) {
    if (!reader.Open(path) || !reader.SeekFirstFrame()) return 0;
    std::vector<BYTE> payload(0x20000);
    std::size_t frames = 0;
    for (;;) {
        const int padded = static_cast<int>(Pad32(reader.GetPayloadLen1()) + Pad32(reader.GetPayloadLen2()));
        if (padded > 0 && !reader.ReadPayload(payload.data(), padded)) return 0;
        ++frames;
        if (reader.GetIndexPos() + 1 >= reader.GetIndexCount()) return frames;
        if (!reader.StepNext()) return 0;
    }
}

// The reader thread from the first frame to the end, emptied by a consumer; returns the records taken.
std::size_t ReadByThread(CQelVideoFile& reader, const std::string& path) {
    if (!reader.Open(path) || !reader.SeekFirstFrame()) return 0;
    reader.SetListStart(0);
    reader.SetListEnd(1);
    reader.StartReader(1, 1, 0);
    std::size_t records = 0;
    int emptyPolls = 0;
    for (;;) {
        const bool stopped = !reader.IsReaderRunning();
        const std::size_t before = records;
        for (auto ring : {std::make_pair(&reader.VideoHead(), &reader.VideoRing()),
                          std::make_pair(&reader.AudioHead(), &reader.AudioRing())})
            while (QelFrameRecord* record = reader.OldestRecord(*ring.first, *ring.second)) {
                benchmark::DoNotOptimize(record->payload1.get());
                reader.ReleaseOldest(*ring.first, *ring.second);
                ++records;
            }
        if (stopped) break;
        reader.WakeReader();
        // Pauses, and a yield only after many empty looks: on a busy machine every yield may hand the
        // core to another process for a whole time slice while the reader waits on rings nobody
        // empties; yet a reader started on this same core must get to run.
        emptyPolls = records != before ? 0 : emptyPolls + 1;
        if (emptyPolls < kPollsBeforeYield) {
            CpuRelax();
        } else {
            emptyPolls = 0;
            std::this_thread::yield();
        }
    }
    reader.StopReader();
    return records;
}

template <typename ReadThrough>
void AgainstPlainRead(benchmark::State& state, ReadThrough read, std::size_t expectedFrames) {
    const Recording& recording = TheRecording();
    CQelVideoFile reader;
    double readerSeconds = 0, plainSeconds = 0;
    std::size_t readerFrames = 0, plainFrames = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::size_t frames = read(reader, recording.path);
        const double seconds = SecondsSince(start);
        readerSeconds += seconds;
        const double plain = PlainRead(recording.path);
        if (frames != expectedFrames || plain < 0) {
            state.SkipWithError("the recording did not read whole");
            return;
        }
        plainSeconds += plain;
        readerFrames += frames;
        plainFrames += recording.frames;
        ratios.push_back(static_cast<double>(frames) / seconds /
                         (static_cast<double>(recording.frames) / plain));
    }
    const double readerFps = static_cast<double>(readerFrames) / readerSeconds;
    const double plainFps = static_cast<double>(plainFrames) / plainSeconds;
    state.counters["reader_fps"] = readerFps;
    state.counters["plain_read_fps"] = plainFps;
    state.counters["ratio"] = readerFps / plainFps;
    // The same per iteration, its median: on a shared machine one read that the scheduler held up
    // weighs on the ratio above but not on this one.
    std::nth_element(ratios.begin(), ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2),
                     ratios.end());
    state.counters["ratio_median"] = ratios[ratios.size() / 2];
}

void BM_StepsAgainstPlainRead(benchmark::State& state) {
    AgainstPlainRead(state, ReadBySteps, TheRecording().frames);
}
BENCHMARK(BM_StepsAgainstPlainRead)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_ThreadAgainstPlainRead(benchmark::State& state) {
    // The frame the reader stands on when it starts is not queued.
    AgainstPlainRead(state, ReadByThread, TheRecording().frames - 1);
}
BENCHMARK(BM_ThreadAgainstPlainRead)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TheRecording();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(TheRecording().folder);
    return 0;
}
