#include "tests/support/Display.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

// The test's environment with `env` laid over it.
std::vector<std::string> MergedEnvironment(const EnvList& env) {
    std::map<std::string, std::string> values;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        values[entry.substr(0, entry.find('='))] = entry;
    }
    for (const std::string& entry : env)
        values[entry.substr(0, entry.find('='))] = entry;
    std::vector<std::string> out;
    for (auto& [name, entry] : values)
        out.push_back(std::move(entry));
    return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (std::string& t : texts)
        out.push_back(t.data());
    out.push_back(nullptr);
    return out;
}

struct FileActions {
    posix_spawn_file_actions_t actions;
    FileActions() { posix_spawn_file_actions_init(&actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
};

pid_t Spawn(const std::vector<std::string>& argv, const EnvList& env, FileActions& files) {
    if (argv.empty()) throw std::invalid_argument("no program to start");
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = MergedEnvironment(env);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(environment);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0].c_str(), &files.actions, nullptr, argp.data(), envp.data());
    if (rc != 0) throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(rc));
    return pid;
}

int ExitStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

} // namespace

ChildProcess::~ChildProcess() {
    Stop();
}

void ChildProcess::Start(const std::vector<std::string>& argv, const EnvList& env, const std::string& outFile,
                         const std::string& errFile, const std::string& inFile) {
    Stop();
    FileActions files;
    posix_spawn_file_actions_addopen(&files.actions, 0, inFile.empty() ? "/dev/null" : inFile.c_str(),
                                     O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files.actions, 1, outFile.empty() ? "/dev/null" : outFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files.actions, 2, errFile.empty() ? "/dev/null" : errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_ = Spawn(argv, env, files);
    status_ = -1;
}

void ChildProcess::Adopt(pid_t pid) {
    Stop();
    pid_ = pid;
    status_ = -1;
}

bool ChildProcess::Running() {
    return Wait(std::chrono::milliseconds(0)) == -1 && pid_ > 0;
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return status_;
    const auto end = Clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno == ECHILD)) {
            status_ = done == pid_ ? ExitStatus(status) : -1;
            pid_ = -1;
            return status_;
        }
        if (Clock::now() >= end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int ChildProcess::Stop(std::chrono::milliseconds grace) {
    if (pid_ <= 0) return status_;
    ::kill(pid_, SIGTERM);
    if (Wait(grace) == -1 && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait(std::chrono::milliseconds(5000));
    }
    return status_;
}

int RunProgram(const std::vector<std::string>& argv, const EnvList& env, std::string* output,
               std::chrono::milliseconds limit) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    FileActions files;
    posix_spawn_file_actions_addopen(&files.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&files.actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&files.actions, fds[1], 2);
    pid_t pid = -1;
    try {
        pid = Spawn(argv, env, files);
    } catch (...) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw;
    }
    ::close(fds[1]);
    const auto end = Clock::now() + limit;
    std::string text;
    bool killed = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) {
            ::kill(pid, SIGKILL);
            killed = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (output) *output = std::move(text);
    return killed ? -1 : ExitStatus(status);
}

bool HaveProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string dir = rest.substr(0, colon);
        if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0) return true;
        if (colon == std::string::npos) break;
        rest.erase(0, colon + 1);
    }
    return false;
}

bool XvfbServer::Start(int width, int height, std::string& why) {
    Stop();
    if (!HaveProgram("Xvfb")) {
        why = "Xvfb is not installed (make deps installs it)";
        return false;
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    // The server writes the display number it took to descriptor 3.
    FileActions files;
    posix_spawn_file_actions_addopen(&files.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files.actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files.actions, fds[1], 3);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_t pid = -1;
    try {
        pid = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"}, {},
                    files);
    } catch (...) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw;
    }
    ::close(fds[1]);
    std::string number;
    const auto end = Clock::now() + std::chrono::seconds(15);
    while (number.find('\n') == std::string::npos && Clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[32];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    process_.Adopt(pid);
    const auto newline = number.find('\n');
    if (newline == std::string::npos || newline == 0) {
        process_.Stop();
        why = "Xvfb did not report a display";
        return false;
    }
    display_ = ":" + number.substr(0, newline);
    return true;
}

void XvfbServer::Stop() {
    process_.Stop();
    display_.clear();
}

} // namespace testing_support
