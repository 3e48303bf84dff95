// The real program as the desktop starts and ends it: its command line, the signals that end it, a
// second start on the same folder and the lock a killed copy leaves. Offscreen, each run on a program
// folder of its own.
#include "tests/support/Display.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::EnvList;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;
using namespace std::chrono_literals;

std::string Executable() {
    return std::string(std::getenv("HARBEK_BINARY")) + "/client/harbek";
}

// A user's home with the program folder in it, and no display at all unless a case names the toolkit's
// platform.
struct Home {
    Home() {
        fs::create_directory(base.Path() / "run");
        fs::permissions(base.Path() / "run", fs::perms::owner_all, fs::perm_options::replace);
    }
    TempDir base;
    fs::path Program() const { return base.Path() / "program"; }
    std::string File(const std::string& name) const { return (Program() / name).string(); }
    EnvList Environment(const char* language = "1033") const {
        return {"HARBEK_HOME=" + Program().string(),
                "HARBEK_REGISTRY=" + base.File("registry.ini"),
                "HARBEK_LANGID=" + std::string(language),
                "HARBEK_TRACE=1",
                "HOME=" + base.Path().string(),
                "XDG_CONFIG_HOME=" + base.File("config"),
                "XDG_CACHE_HOME=" + base.File("cache"),
                "XDG_DATA_HOME=" + base.File("data"),
                "XDG_RUNTIME_DIR=" + base.File("run"),
                "QT_QPA_PLATFORM=",
                "DISPLAY=",
                "WAYLAND_DISPLAY="};
    }
};

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// A copy of the program running offscreen on the folder, up to its message loop.
class Running {
public:
    Running(const Home& home, const std::string& name) : trace_(home.base.File(name + ".trace")) {
        process.Start({Executable(), "-platform", "offscreen"}, home.Environment(), "", trace_);
    }
    bool Up() {
        return WaitFor(
                   [&] {
                       return Trace().find("TApplication::Run") != std::string::npos || !process.Running();
                   },
                   30s) &&
               process.Running();
    }
    std::string Trace() const { return fs::exists(trace_) ? ReadFileBytes(trace_) : std::string(); }
    ChildProcess process;

private:
    std::string trace_;
};

TEST(ProgramRun, TheCommandLine) {
    struct Case {
        std::vector<std::string> arguments;
        const char* language;
        int status;
        std::string output; // the start of what it printed
    };
    const Case cases[] = {
        {{"--help"}, "1033", 0, "Usage: harbek [options]\nDesktop client for vehicle video recorders"},
        {{"-h"}, "1033", 0, "Usage: harbek [options]\n"},
        {{"--help"}, "3082", 0, "Uso: harbek [opciones]\n"},
        {{"--version"}, "1033", 0, "harbek " HARBEK_PROJECT_VERSION "\n"},
        {{"-v", "--frobnicate"}, "1033", 0, "harbek " HARBEK_PROJECT_VERSION "\n"},
        {{}, "1033", 1, "harbek: there is no display to show the program on"},
        {{"-platform", "offscreen", "--frobnicate"}, "1033", 1, "harbek: unknown argument '--frobnicate'."},
        {{"-platform", "offscreen", "-style", "fusion", "stray"},
         "1033",
         1,
         "harbek: unknown argument 'stray'."},
        {{"-platform", "offscreen", "-x"}, "1042", 1, "harbek: 알 수 없는 인수 '-x'입니다."},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& a : c.arguments)
            line += a + " ";
        SCOPED_TRACE(line + c.language);
        Home home;
        std::vector<std::string> argv{Executable()};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        std::string output;
        EXPECT_EQ(testing_support::RunProgram(argv, home.Environment(c.language), &output, 30s), c.status);
        EXPECT_EQ(output.substr(0, c.output.size()), c.output) << output;
        // Nothing was started: no program folder.
        EXPECT_FALSE(fs::exists(home.Program()));
    }
}

TEST(ProgramRun, EachSignalEndsItThroughTheShutDown) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        Home home;
        Running program(home, "a");
        ASSERT_TRUE(program.Up()) << program.Trace();
        fs::create_directories(home.Program() / "Temporary");
        WriteFileBytes(home.File("Temporary/20240101120000.fdx"), "x");
        ASSERT_EQ(::kill(program.process.Pid(), signal), 0);
        EXPECT_EQ(program.process.Wait(20s), 0);
        EXPECT_FALSE(fs::exists(home.Program() / "Temporary"));
        EXPECT_NE(ReadFileBytes(home.File("setup.ini")).find("standard=PAL"), std::string::npos);
        EXPECT_FALSE(fs::exists(home.Program() / "harbek.lock"));
    }
}

TEST(ProgramRun, ASecondStartLeavesTheFirstAndItsFilesAlone) {
    Home home;
    Running first(home, "first");
    ASSERT_TRUE(first.Up()) << first.Trace();
    fs::create_directories(home.Program() / "Temporary");
    WriteFileBytes(home.File("Temporary/20240101120000.fdx"), "first's");
    const std::string settings = ReadFileBytes(home.File("setup.ini"));

    // The first answers and comes forward; the second ends at once.
    std::string output;
    EXPECT_EQ(testing_support::RunProgram({Executable(), "-platform", "offscreen"}, home.Environment(),
                                          &output, 30s),
              0)
        << output;
    EXPECT_TRUE(first.process.Running());
    EXPECT_EQ(ReadFileBytes(home.File("Temporary/20240101120000.fdx")), "first's");
    EXPECT_EQ(ReadFileBytes(home.File("setup.ini")), settings);

    // A copy on another folder is no second start.
    Home other;
    Running beside(other, "beside");
    EXPECT_TRUE(beside.Up()) << beside.Trace();

    // Killed, the first leaves its lock behind; the next start takes the folder all the same.
    ASSERT_EQ(::kill(first.process.Pid(), SIGKILL), 0);
    EXPECT_EQ(first.process.Wait(10s), 128 + SIGKILL);
    ASSERT_TRUE(fs::exists(home.Program() / "harbek.lock"));
    Running next(home, "next");
    EXPECT_TRUE(next.Up()) << next.Trace();
    // Its start-up cleared the working folder of the dead copy.
    EXPECT_FALSE(fs::exists(home.Program() / "Temporary"));
}

} // namespace
