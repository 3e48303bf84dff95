// Payload 2 of a video frame through the side-data walker; an exact-size copy so that a read past the
// payload shows.
#include "formats/FormatError.h"
#include "formats/QelSideData.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> payload(data, data + size);
    QelFrameSideData side(payload.data(), payload.size());
    QelSideBlock b;
    std::size_t last = 0;
    try {
        while (side.Next(b)) {
            if (side.Cursor() < last && side.Cursor() != 0) __builtin_trap(); // never backwards
            last = side.Cursor();
            (void)b.Text();
        }
    } catch (const EQelFormatError&) {
    }
    return 0;
}
