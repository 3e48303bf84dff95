// A private X server for tests that need a real display, and the programs a test starts beside it:
// Xvfb on the first free display number (it reports the number itself), child processes with their
// own environment and output files, and short tools (xdotool, import) run to their end.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support {

// NAME=value pairs added to (or replacing in) the test's own environment.
using EnvList = std::vector<std::string>;

// A program running beside the test; stopped (SIGTERM, then SIGKILL) when the object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // stdin comes from `inFile`, stdout and stderr go to the files (empty: /dev/null). Throws when the
    // program cannot start.
    void Start(const std::vector<std::string>& argv, const EnvList& env, const std::string& outFile = "",
               const std::string& errFile = "", const std::string& inFile = "");
    // Takes over a child started elsewhere.
    void Adopt(pid_t pid);
    bool Running();
    // Waits up to `limit` for the end; the exit status (128 + signal for a signal), or -1 when still running.
    int Wait(std::chrono::milliseconds limit);
    // SIGTERM, up to `grace` for the end, then SIGKILL; returns the exit status.
    int Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(3000));
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end (at most `limit`); returns its exit status, or -1 when it had to be killed.
int RunProgram(const std::vector<std::string>& argv, const EnvList& env = {}, std::string* output = nullptr,
               std::chrono::milliseconds limit = std::chrono::milliseconds(20000));

// True when `name` is an executable on PATH.
bool HaveProgram(const std::string& name);

// Xvfb on a display of its own choosing.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // False (with `why`) when Xvfb is missing or does not come up.
    bool Start(int width, int height, std::string& why);
    void Stop();
    // ":N" once started.
    const std::string& Display() const { return display_; }

private:
    ChildProcess process_;
    std::string display_;
};

} // namespace testing_support
