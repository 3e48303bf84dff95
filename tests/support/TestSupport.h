// Shared helpers of the test suites: a controllable tick source, scratch folders, fixture paths and a
// capture of the debug output.
#pragma once

#include "platform/core/Debug.h"
#include "platform/core/SysTime.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

// Replaces GetTickCount for its lifetime. Every reading advances the clock by `step` ms, so a polling
// wait of 300 s ends after 300000 / step readings; Advance moves it by hand.
class FakeTick {
public:
    explicit FakeTick(DWORD start = 1000, DWORD step = 0);
    ~FakeTick();
    FakeTick(const FakeTick&) = delete;
    FakeTick& operator=(const FakeTick&) = delete;

    void Advance(DWORD ms);
    void SetStep(DWORD step);
    DWORD Now() const;

private:
    TickSource previous_;
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder with a trailing '/', as the system's path texts are written.
    std::string Str() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// tests/fixtures/<relative>, from HARBEK_FIXTURES (set by CTest) or the source tree.
std::string FixturePath(const std::string& relative);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// A connect to 127.0.0.1:port that does not wait for its answer; the socket is non-blocking.
int StartLoopbackConnect(int port);

// Sets (or, with nullptr, unsets) an environment variable for its lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string saved_;
    bool hadValue_ = false;
};

// Collects debug-output lines for its lifetime.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    std::vector<std::string> Lines() const;
    bool Contains(const std::string& fragment) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    DebugSink previous_;
};

} // namespace testing_support
