#include "tools/skingen/PngWriter.h"

#include "tools/skingen/SkinModel.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

namespace {

std::uint32_t Crc(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, Crc(out.data() + start, out.size() - start));
}

} // namespace

void SavePixelsAsPng(int w, int h, const std::uint32_t* argb, bool alpha, const std::string& fileName) {
    const std::size_t channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(h) * (static_cast<std::size_t>(w) * channels + 1));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0); // no filter
        const std::uint32_t* row = argb + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) {
            raw.push_back(static_cast<std::uint8_t>(row[x] >> 16));
            raw.push_back(static_cast<std::uint8_t>(row[x] >> 8));
            raw.push_back(static_cast<std::uint8_t>(row[x]));
            if (alpha) raw.push_back(static_cast<std::uint8_t>(row[x] >> 24));
        }
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t pos = 0; pos < raw.size() || pos == 0;) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n)), z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n)), z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
        if (last) break;
    }
    Put32(z, (b << 16) | a);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    Put32(ihdr, static_cast<std::uint32_t>(w));
    Put32(ihdr, static_cast<std::uint32_t>(h));
    // 8 bits a channel; colour type 6 is RGBA, 2 is RGB.
    ihdr.insert(ihdr.end(), {8, static_cast<std::uint8_t>(alpha ? 6 : 2), 0, 0, 0});
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw ESkinError(fileName + ": cannot be written");
}

void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName) {
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(bitmap.ScanLine(y));
        pixels.insert(pixels.end(), row, row + w);
    }
    SavePixelsAsPng(w, h, pixels.data(), false, fileName);
}
