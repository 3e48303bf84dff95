// A program that loads large pictures with decoding ahead on and returns from main at once, while they
// are still being decoded. Exits 3 when a thread besides its own is still there after its static
// objects are destroyed.
#include "platform/vcl/BitmapFileCache.h"
#include "platform/vcl/Graphics.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// A 24-bit bitmap file of 1000 x 1000 pixels whose first byte is `mark`.
std::string LargeFile(char mark) {
    constexpr int side = 1000, row = side * 3;
    std::string f(54 + row * side, '\0');
    auto put = [&f](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    f[0] = 'B';
    f[1] = 'M';
    put(2, static_cast<std::uint32_t>(f.size()));
    put(10, 54);
    put(14, 40);
    put(18, side);
    put(22, side);
    f[26] = 1;
    f[28] = 24;
    f[54] = mark;
    return f;
}

} // namespace

int main() {
    // Registered before any static object of the decoder is made, so it runs after they are destroyed.
    std::atexit([] {
        const auto threads = std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                           std::filesystem::directory_iterator());
        ::_exit(threads == 1 ? 0 : 3);
    });
    vcl_internal::SetDecodeAhead(true);
    for (char mark = 1; mark <= 8; ++mark) {
        const std::string file = LargeFile(mark);
        TBitmap bitmap;
        bitmap.LoadFromMemory(file.data(), file.size());
    }
    return 0;
}
