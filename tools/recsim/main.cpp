// The simulated recorder as a program: recsim [--port P] [--store DIR] [options].
#include "platform/core/Exceptions.h"
#include "platform/core/SysTime.h"
#include "tools/recgen/StoreGenerator.h"
#include "tools/recsim/RecSim.h"
#include "tools/recsim/SimFiles.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

// A small store ending today: three days of three one-minute recordings. Setup files the folder
// already holds (uploads to an earlier run) stay as they are.
void GenerateDefaultStore(const std::string& folder, const recsim::RecSimOptions& o) {
    std::map<std::string, std::string> kept;
    for (const char* name : {"config.ini", "schedule.dat", "holiday.ini", "info.ini"})
        if (auto bytes = recsim::ReadWhole(folder + "/" + name)) kept[name] = std::move(*bytes);
    recgen::StoreOptions s;
    const SYSTEMTIME first = UnixToUtc(recsim::RecorderNow() - 2 * 86400);
    s.year = first.wYear;
    s.month = first.wMonth;
    s.day = first.wDay;
    s.stream.cameras = o.cameras;
    s.stream.standard = o.standard;
    s.stream.sideData = o.sideData;
    recgen::RecorderIdentity id;
    id.cameras = o.cameras;
    recgen::GenerateStore(folder, s, id);
    for (const auto& [name, bytes] : kept)
        if (!recsim::WriteWhole(folder + "/" + name, bytes)) throw EWriteError("recsim: cannot keep " + name);
}

// One line of --control: what the recorder is to do now. False for a line it does not know.
bool Control(recsim::RecSim& sim, const std::string& line) {
    char word[16] = {};
    unsigned value = 0;
    const int n = std::sscanf(line.c_str(), "%15s %u", word, &value);
    if (n < 1) return true;
    const std::string command = word;
    if (command == "drop" && n == 1)
        sim.DropLink();
    else if (command == "drop-av" && n == 1)
        sim.CloseAvConnection();
    else if (command == "mute" && n == 1)
        sim.SetMute(true);
    else if (command == "unmute" && n == 1)
        sim.SetMute(false);
    else if (command == "event4" && n == 2 && (value == 1 || value == 2))
        sim.EndRemoteWork(value);
    else if (command == "status" && n == 2 && value <= 5)
        sim.SetStatus(value, true);
    else if (command == "hold" && n == 2 && value > 0 && value <= 0xFFFF)
        sim.HoldReplies(value, true);
    else if (command == "release-one" && n == 2 && value > 0 && value <= 0xFFFF)
        sim.ReleaseFirstReply(value);
    else if (command == "release" && (n == 1 || (value > 0 && value <= 0xFFFF)))
        sim.ReleaseReplies(n == 1 ? 0 : value);
    else
        return false;
    return true;
}

// The recorder the control lines go to, none once it stops.
std::mutex gControlMutex;
recsim::RecSim* gControlled = nullptr;

void ReadControlLines() {
    char line[128];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::lock_guard lock(gControlMutex);
        if (gControlled == nullptr) return;
        if (!Control(*gControlled, line)) std::fprintf(stderr, "recsim: unknown control line: %s", line);
    }
}

} // namespace

int main(int argc, char** argv) {
    recsim::RecSimOptions options;
    bool help = false;
    try {
        options = recsim::ParseRecSimArgs(std::vector<std::string>(argv + 1, argv + argc), help);
    } catch (const Exception& e) {
        std::fprintf(stderr, "recsim: %s\n", e.what());
        return 2;
    }
    if (help) {
        std::fputs(recsim::RecSimHelp().c_str(), stdout);
        return 0;
    }

    // Every thread inherits the blocked signals; main waits for them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::string scratch;
    try {
        if (options.store.empty()) {
            char pattern[] = "/tmp/recsim-XXXXXX";
            if (!mkdtemp(pattern)) throw EOSError("recsim: cannot make a temporary folder");
            scratch = pattern;
            options.store = scratch;
        }
        if (!fs::exists(fs::path(options.store) / "avfiles")) {
            if (!options.quiet)
                std::fprintf(stderr, "recsim: generating a recording store in %s\n", options.store.c_str());
            fs::create_directories(options.store);
            GenerateDefaultStore(options.store, options);
        }
        recsim::RecSim sim(options);
        sim.Start();
        std::printf("recsim: command port %d, A/V port %d\n", sim.CommandPort(), sim.AvPort());
        std::fflush(stdout);
        if (options.control) {
            gControlled = &sim;
            // The reader blocks on standard input until the program ends; it is not waited for.
            std::thread(ReadControlLines).detach();
        }
        int received = 0;
        sigwait(&signals, &received);
        {
            std::lock_guard lock(gControlMutex);
            gControlled = nullptr;
        }
        sim.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        if (!scratch.empty()) fs::remove_all(scratch);
        return 1;
    }
    if (!scratch.empty()) fs::remove_all(scratch);
    return 0;
}
