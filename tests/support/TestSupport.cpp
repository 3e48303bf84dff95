#include "tests/support/TestSupport.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>

namespace testing_support {

namespace {

std::atomic<DWORD> gFakeNow{0};
std::atomic<DWORD> gFakeStep{0};

DWORD FakeTickSource() {
    return gFakeNow.fetch_add(gFakeStep.load());
}

} // namespace

FakeTick::FakeTick(DWORD start, DWORD step) {
    gFakeNow = start;
    gFakeStep = step;
    previous_ = SetTickSource(&FakeTickSource);
}

FakeTick::~FakeTick() {
    SetTickSource(previous_);
}
void FakeTick::Advance(DWORD ms) {
    gFakeNow.fetch_add(ms);
}
void FakeTick::SetStep(DWORD step) {
    gFakeStep = step;
}
DWORD FakeTick::Now() const {
    return gFakeNow.load();
}

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("harbek-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string FixturePath(const std::string& relative) {
    const char* root = std::getenv("HARBEK_FIXTURES");
    std::string base = root != nullptr ? root : HARBEK_DEFAULT_FIXTURES;
    return base + "/" + relative;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        hadValue_ = true;
        saved_ = old;
    }
    if (value != nullptr)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (hadValue_)
        ::setenv(name_.c_str(), saved_.c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

DebugCapture::DebugCapture() {
    previous_ = SetDebugSink([this](const std::string& line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
    });
}

DebugCapture::~DebugCapture() {
    SetDebugSink(std::move(previous_));
}

std::vector<std::string> DebugCapture::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

bool DebugCapture::Contains(const std::string& fragment) const {
    std::lock_guard lock(mutex_);
    for (const auto& line : lines_)
        if (line.find(fragment) != std::string::npos) return true;
    return false;
}

int StartLoopbackConnect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    return fd;
}

} // namespace testing_support
