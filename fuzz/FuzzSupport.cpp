#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzz {

namespace {

std::string& MadeFolder() {
    static std::string made;
    return made;
}

void RemoveScratch() {
    std::error_code ec;
    if (!MadeFolder().empty()) std::filesystem::remove_all(MadeFolder(), ec);
}

} // namespace

const std::string& ScratchFolder() {
    static const std::string folder = [] {
        struct stat st {};
        const std::string base = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/harbek-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) Fail("cannot make a scratch folder");
        MadeFolder() = pattern;
        std::atexit(RemoveScratch);
        // The program folder and the registry are the scratch folder's too, never the user's.
        ::setenv("HARBEK_HOME", pattern.c_str(), 1);
        ::setenv("HARBEK_REGISTRY", (pattern + "/registry.ini").c_str(), 1);
        return pattern + "/";
    }();
    return folder;
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) Fail("cannot create a scratch file");
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written) Fail("cannot write a scratch file");
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace fuzz

// Fontconfig keeps caches it never frees when Qt first matches a font; that memory is not ours to lose.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

namespace fuzz {

void UseHeadlessQt() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    // abort() skips the exit handlers.
    RemoveScratch();
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzz
