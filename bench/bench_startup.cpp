// Start-up: the time from starting the program to its main window shown and painted, the windows
// created as the program creates them (the main window first, the others once it is shown), against a
// bare application that shows one empty window of the same size (no start-up of the program's own: no
// font configuration read ahead); both are processes of this same executable, started one after the
// other in the same run.
// - BM_StartupAgainstBareWindow, on the offscreen platform: "ratio" is the program's mean time over
//   the bare one's (1.0 = as fast), "ratio_median" the median of the iterations' ratios, "all_ms" the
//   program's time until every window exists.
// - BM_StartupOnDisplay, on an X server of its own (Xvfb), as a user sees it: the program and the bare
//   window started alternately, 5 each, until their window is mapped and painted; "program_ms" and
//   "bare_ms" are the medians, "ratio" theirs; the "cpu" counters the same for the processor time the
//   two processes took until then, which a busy machine moves less.
// Both report "load", the machine's load average over the last minute, taken at the end.
#include "client/AudioLibrary.h"
#include "client/HarbekWindows.h"
#include "client/main.h"

#include "platform/core/AppPaths.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "tests/support/Display.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of this process so far, all its threads, in milliseconds.
double CpuMilliseconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The child's report: the main window's size once it is shown, or 0 0, and the processor time taken.
void Report(int fd, int width, int height) {
    const std::string text =
        std::to_string(width) + " " + std::to_string(height) + " " + std::to_string(CpuMilliseconds()) + "\n";
    if (::write(fd, text.data(), text.size()) < 0) std::_Exit(3);
}

int PaintEvents(TControl* control) {
    int paints = form_testing::PaintEvents(control);
    if (auto* parent = dynamic_cast<TWinControl*>(control))
        for (int i = 0; i < parent->ControlCount(); ++i)
            paints += PaintEvents(parent->Controls(i));
    return paints;
}

// Pumps messages until some of the shown form has been painted on the screen, which happens once its
// window is mapped; reports its size, or 0 0 when that did not come.
void ReportPainted(int fd, TForm* form) {
    const bool painted =
        form->Visible() && form_testing::WaitUntil([form] { return PaintEvents(form) > 0; }, 5000);
    Report(fd, painted ? form->Width() : 0, painted ? form->Height() : 0);
}

int ProgramChild(int fd) {
    RegisterAudioLibrary();
    SetFormResourceRoot(HARBEK_CLIENT_RESOURCES);
    Application->Initialize();
    // What Application->Run does before its loop.
    CreateHarbekWindows(TWindowStart::MainFirst);
    FrmMain->Show();
    ReportPainted(fd, FrmMain);
    Application->CreateDeferredForms();
    Report(fd, Screen->FormCount(), 0);
    std::_Exit(0);
}

int BareChild(int fd, int width, int height) {
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, width, height);
    form->Show();
    ReportPainted(fd, form);
    std::_Exit(0);
}

struct Started {
    double seconds = -1;
    double cpuMs = -1; // the processor time it took, which the machine's other work moves less
    int width = 0;
    int height = 0;
    double allSeconds = -1; // the program: until every window exists
};

// Reads one line of the child's report into `text`; false at the end of the pipe.
bool ReadLine(int fd, std::string& text) {
    text.clear();
    char c = 0;
    while (::read(fd, &c, 1) == 1) {
        if (c == '\n') return true;
        if (text.size() < 64) text += c;
    }
    return false;
}

// This process's environment with `extra` (NAME=value) laid over it.
std::vector<std::string> Environment(const std::vector<std::string>& extra) {
    std::map<std::string, std::string> values;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        values[entry.substr(0, entry.find('='))] = entry;
    }
    for (const std::string& entry : extra)
        values[entry.substr(0, entry.find('='))] = entry;
    std::vector<std::string> out;
    for (auto& [name, entry] : values)
        out.push_back(std::move(entry));
    return out;
}

double LoadAverage() {
    double load = -1;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts this executable with `args` (and `env` over this one's environment) and waits for its report.
Started Start(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    std::vector<std::string> all{"/proc/self/exe", "--child", std::to_string(pipeFds[1])};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = Environment(env);
    std::vector<char*> envp;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), envp.data());
    ::close(pipeFds[1]);
    Started s;
    if (spawned == 0) {
        std::string shown, all;
        const bool gotShown = ReadLine(pipeFds[0], shown);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const bool gotAll = gotShown && ReadLine(pipeFds[0], all);
        const double allSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        int status = 0;
        ::waitpid(pid, &status, 0);
        int windows = 0;
        if (gotShown && std::sscanf(shown.c_str(), "%d %d %lf", &s.width, &s.height, &s.cpuMs) == 3 &&
            s.width > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            s.seconds = seconds;
            if (gotAll && std::sscanf(all.c_str(), "%d", &windows) == 1 && windows > 1)
                s.allSeconds = allSeconds;
        }
    }
    ::close(pipeFds[0]);
    return s;
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    double programSeconds = 0, bareSeconds = 0, allSeconds = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        const Started program = Start({"program"});
        const Started bare = Start({"bare", std::to_string(program.width), std::to_string(program.height)});
        if (program.seconds < 0 || program.allSeconds < 0 || bare.seconds < 0) {
            state.SkipWithError("a window was not shown");
            return;
        }
        programSeconds += program.seconds;
        allSeconds += program.allSeconds;
        bareSeconds += bare.seconds;
        ratios.push_back(program.seconds / bare.seconds);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["program_ms"] = programSeconds / n * 1000;
    state.counters["bare_ms"] = bareSeconds / n * 1000;
    state.counters["all_ms"] = allSeconds / n * 1000;
    state.counters["ratio"] = programSeconds / bareSeconds;
    // On a shared machine one start that the scheduler held up moves the mean, not the median.
    state.counters["ratio_median"] = Median(ratios);
    state.counters["load"] = LoadAverage();
}
BENCHMARK(BM_StartupAgainstBareWindow)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_StartupOnDisplay(benchmark::State& state) {
    testing_support::XvfbServer x;
    std::string why;
    if (!x.Start(1280, 1024, why)) {
        state.SkipWithError(("no X server: " + why).c_str());
        return;
    }
    const std::vector<std::string> env{"DISPLAY=" + x.Display(), "QT_QPA_PLATFORM=xcb"};
    std::vector<double> program, bare, programCpu, bareCpu;
    for (auto _ : state) {
        const Started p = Start({"program"}, env);
        const Started b = Start({"bare", std::to_string(p.width), std::to_string(p.height)}, env);
        if (p.seconds < 0 || b.seconds < 0) {
            state.SkipWithError("a window was not shown");
            return;
        }
        program.push_back(p.seconds * 1000);
        bare.push_back(b.seconds * 1000);
        programCpu.push_back(p.cpuMs);
        bareCpu.push_back(b.cpuMs);
    }
    state.counters["program_ms"] = Median(program);
    state.counters["bare_ms"] = Median(bare);
    state.counters["ratio"] = Median(program) / Median(bare);
    state.counters["program_cpu_ms"] = Median(programCpu);
    state.counters["bare_cpu_ms"] = Median(bareCpu);
    state.counters["cpu_ratio"] = Median(programCpu) / Median(bareCpu);
    state.counters["load"] = LoadAverage();
}
BENCHMARK(BM_StartupOnDisplay)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0) {
        SetCommandLine(1, argv);
        const int fd = std::atoi(argv[2]);
        if (std::strcmp(argv[3], "program") == 0) return ProgramChild(fd);
        if (argc == 6) return BareChild(fd, std::atoi(argv[4]), std::atoi(argv[5]));
        return 2;
    }
    // The children draw without a display and keep their files and settings in a folder of their own.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char pattern[] = "/tmp/bench_startup.XXXXXX";
    const std::string home = mkdtemp(pattern);
    setenv("HARBEK_HOME", home.c_str(), 1);
    setenv("HARBEK_REGISTRY", (home + "/registry.ini").c_str(), 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(home);
    return 0;
}
