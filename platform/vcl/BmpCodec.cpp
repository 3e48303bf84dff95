#include "platform/vcl/BmpCodec.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/GraphicsErrors.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace vcl_internal {

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;
constexpr std::size_t FileHeaderSize = 14;

[[noreturn]] void Fail(const std::string& why) {
    throw EInvalidGraphic("Bitmap image is not valid: " + why);
}

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(U32(p));
}

void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// One channel described by a bit mask, scaled to 0..255.
struct TChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit TChannel(std::uint32_t m = 0) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        const std::uint32_t bits = m >> shift;
        if ((bits & (bits + 1)) != 0) Fail("colour masks must be contiguous bits");
        max = bits;
    }
    std::uint32_t Get(std::uint32_t v) const {
        if (mask == 0) return 0;
        const std::uint32_t raw = (v & mask) >> shift;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(raw) * 255 + max / 2) / max);
    }
};

struct THeader {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool hasMasks = false;
    std::size_t headerSize = 0;
    std::size_t paletteEntrySize = 4;
};

THeader ReadInfoHeader(const std::uint8_t* data, std::size_t size) {
    if (size < FileHeaderSize + 4) Fail("the file is too short");
    THeader h;
    h.headerSize = U32(data + FileHeaderSize);
    const std::uint8_t* p = data + FileHeaderSize;
    if (h.headerSize != 12 && h.headerSize != 40 && h.headerSize != 52 && h.headerSize != 56 &&
        h.headerSize != 108 && h.headerSize != 124)
        Fail(Format("unsupported header size %u", static_cast<unsigned>(h.headerSize)));
    if (size - FileHeaderSize < h.headerSize) Fail("the header is cut short");
    if (h.headerSize == 12) {
        h.width = U16(p + 4);
        h.height = static_cast<std::int16_t>(U16(p + 6));
        h.bitCount = U16(p + 10);
        h.paletteEntrySize = 3;
    } else {
        h.width = I32(p + 4);
        h.height = I32(p + 8);
        h.bitCount = U16(p + 14);
        h.compression = U32(p + 16);
        h.colorsUsed = U32(p + 32);
        if (h.headerSize >= 52) {
            for (int i = 0; i < (h.headerSize >= 56 ? 4 : 3); ++i)
                h.masks[i] = U32(p + 40 + 4 * i);
            h.hasMasks = true;
        }
    }
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (h.width <= 0 || h.height <= 0) Fail("width and height must be positive");
    if (h.width > MaxBitmapSide || h.height > MaxBitmapSide || h.width * h.height > MaxBitmapPixels)
        Fail(Format("%lld x %lld pixels is too large", static_cast<long long>(h.width),
                    static_cast<long long>(h.height)));
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        Fail(Format("%d bits per pixel are not supported", h.bitCount));
    }
    if (h.compression == BI_RLE8 || h.compression == BI_RLE4)
        Fail("run-length compressed bitmaps are not supported");
    if (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS) {
        if (h.bitCount != 16 && h.bitCount != 32) Fail("colour masks need 16 or 32 bits per pixel");
        if (!h.hasMasks) {
            const int count = h.compression == BI_ALPHABITFIELDS ? 4 : 3;
            if (size - FileHeaderSize - h.headerSize < static_cast<std::size_t>(4 * count))
                Fail("the colour masks are cut short");
            for (int i = 0; i < count; ++i)
                h.masks[i] = U32(p + h.headerSize + 4 * i);
            h.hasMasks = true;
            h.headerSize += 4 * count;
        }
    } else if (h.compression != BI_RGB) {
        Fail(Format("compression %u is not supported", static_cast<unsigned>(h.compression)));
    } else {
        h.hasMasks = false;
    }
    return h;
}

std::vector<std::uint32_t> ReadPalette(const THeader& h, const std::uint8_t* data, std::size_t paletteEnd) {
    std::vector<std::uint32_t> palette;
    if (h.bitCount > 8) return palette;
    const std::size_t maxEntries = std::size_t(1) << h.bitCount;
    std::size_t count = h.colorsUsed == 0 ? maxEntries : std::min<std::size_t>(h.colorsUsed, maxEntries);
    const std::size_t start = FileHeaderSize + h.headerSize;
    if (paletteEnd < start) Fail("the pixel data overlaps the header");
    // A short colour table (common in files that leave colorsUsed at 0) is read as far as it goes.
    count = std::min(count, (paletteEnd - start) / h.paletteEntrySize);
    if (count == 0) Fail("the colour table is missing");
    palette.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data + start + i * h.paletteEntrySize;
        palette[i] = 0xFF000000u | (std::uint32_t(e[2]) << 16) | (std::uint32_t(e[1]) << 8) | e[0];
    }
    return palette;
}

} // namespace

namespace {

// Everything about a file but its pixels, checked against the file's size.
struct TLayout {
    THeader h;
    std::size_t offBits = 0;
    std::size_t stride = 0;
    std::vector<std::uint32_t> palette;
};

TLayout ReadLayout(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < FileHeaderSize || data[0] != 'B' || data[1] != 'M')
        Fail("the file does not start with a bitmap signature");
    TLayout l;
    l.h = ReadInfoHeader(data, size);
    const THeader& h = l.h;
    for (const std::uint32_t mask : h.masks)
        TChannel{h.hasMasks ? mask : 0}; // raises for a mask of split bits
    const std::size_t headerEnd = FileHeaderSize + h.headerSize;
    l.offBits = U32(data + 10);
    if (l.offBits == 0)
        l.offBits = headerEnd + (h.bitCount <= 8 ? (std::size_t(1) << h.bitCount) * h.paletteEntrySize : 0);
    if (l.offBits < headerEnd || l.offBits > size) Fail("the pixel data offset lies outside the file");
    l.palette = ReadPalette(h, data, l.offBits);
    l.stride = ((static_cast<std::size_t>(h.width) * h.bitCount + 31) / 32) * 4;
    if ((size - l.offBits) / l.stride < static_cast<std::size_t>(h.height))
        Fail("the pixel data is cut short");
    return l;
}

std::shared_ptr<TImageData> DecodeLayout(const std::uint8_t* data, const TLayout& l) {
    const THeader& h = l.h;
    const std::size_t offBits = l.offBits, stride = l.stride;
    const std::size_t rows = static_cast<std::size_t>(h.height);
    const std::size_t width = static_cast<std::size_t>(h.width);
    std::shared_ptr<TImageData> pixels =
        TImageData::Create(static_cast<int>(h.width), static_cast<int>(h.height),
                           false); // every pixel is written below
    const TChannel red(h.hasMasks ? h.masks[0] : (h.bitCount == 16 ? 0x7C00 : 0));
    const TChannel green(h.hasMasks ? h.masks[1] : (h.bitCount == 16 ? 0x03E0 : 0));
    const TChannel blue(h.hasMasks ? h.masks[2] : (h.bitCount == 16 ? 0x001F : 0));
    const TChannel alpha(h.hasMasks ? h.masks[3] : 0);
    const std::vector<std::uint32_t>& palette = l.palette;
    const std::uint32_t paletteSize = static_cast<std::uint32_t>(palette.size());

    for (std::size_t row = 0; row < rows; ++row) {
        const std::uint8_t* src = data + offBits + row * stride;
        const std::size_t y = h.topDown ? row : rows - 1 - row;
        std::uint32_t* dst = pixels->Row(static_cast<int>(y));
        switch (h.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = h.bitCount;
            const std::uint32_t mask = (1u << bits) - 1;
            for (std::size_t x = 0; x < width; ++x) {
                const std::size_t bit = x * bits;
                const std::uint32_t index = (src[bit / 8] >> (8 - bits - bit % 8)) & mask;
                dst[x] = index < paletteSize ? palette[index] : 0xFF000000u;
            }
            break;
        }
        case 16:
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t v = U16(src + 2 * x);
                const std::uint32_t a = alpha.mask ? alpha.Get(v) : 255;
                dst[x] = (a << 24) | (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
            }
            break;
        case 24: {
            std::size_t x = 0;
            if constexpr (std::endian::native == std::endian::little) {
                // Four bytes at a time, the fourth (the next pixel's) masked off; the row's last pixel is
                // read bytewise, as its fourth byte may lie past the data.
                for (; x + 1 < width; ++x) {
                    std::uint32_t v;
                    std::memcpy(&v, src + 3 * x, 4);
                    dst[x] = 0xFF000000u | (v & 0x00FFFFFFu);
                }
            }
            for (; x < width; ++x) {
                const std::uint8_t* s = src + 3 * x;
                dst[x] = 0xFF000000u | (std::uint32_t(s[2]) << 16) | (std::uint32_t(s[1]) << 8) | s[0];
            }
            break;
        }
        case 32:
            if (!h.hasMasks) {
                std::memcpy(dst, src, width * 4);
            } else {
                for (std::size_t x = 0; x < width; ++x) {
                    const std::uint32_t v = U32(src + 4 * x);
                    const std::uint32_t a = alpha.mask ? alpha.Get(v) : 255;
                    dst[x] = (a << 24) | (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
                }
            }
            break;
        }
    }
    return pixels;
}

} // namespace

TBmpImage ReadBmpHeader(const std::uint8_t* data, std::size_t size) {
    TLayout l = ReadLayout(data, size);
    TBmpImage image;
    image.Width = static_cast<int>(l.h.width);
    image.Height = static_cast<int>(l.h.height);
    image.BitCount = l.h.bitCount;
    image.Palette = std::move(l.palette);
    return image;
}

std::shared_ptr<TImageData> DecodeBmpPixels(const std::uint8_t* data, std::size_t size) {
    return DecodeLayout(data, ReadLayout(data, size));
}

TBmpImage DecodeBmp(const std::uint8_t* data, std::size_t size) {
    TBmpImage image = ReadBmpHeader(data, size);
    image.Pixels = DecodeBmpPixels(data, size);
    return image;
}

int NearestPaletteIndex(const std::vector<std::uint32_t>& palette, std::uint32_t colour) {
    int best = 0;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::uint32_t p = palette[i];
        const std::int64_t dr = std::int64_t((p >> 16) & 0xFF) - ((colour >> 16) & 0xFF);
        const std::int64_t dg = std::int64_t((p >> 8) & 0xFF) - ((colour >> 8) & 0xFF);
        const std::int64_t db = std::int64_t(p & 0xFF) - (colour & 0xFF);
        const std::int64_t d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
            if (d == 0) break;
        }
    }
    return best;
}

namespace {

std::vector<std::uint32_t> OwnPalette(const std::uint32_t* pixels, std::size_t count) {
    std::vector<std::uint32_t> palette;
    std::unordered_map<std::uint32_t, int> seen;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t rgb = pixels[i] | 0xFF000000u;
        if (seen.emplace(rgb, 0).second) {
            if (palette.size() == 256) break;
            palette.push_back(rgb);
        }
    }
    if (seen.size() <= 256) return palette;
    palette.clear();
    for (std::uint32_t i = 0; i < 256; ++i) {
        const std::uint32_t r = ((i >> 5) & 7) * 255 / 7, g = ((i >> 2) & 7) * 255 / 7, b = (i & 3) * 255 / 3;
        palette.push_back(0xFF000000u | (r << 16) | (g << 8) | b);
    }
    return palette;
}

} // namespace

std::string EncodeBmp(const std::uint32_t* pixels, int width, int height, int bitCount,
                      const std::vector<std::uint32_t>& palette) {
    if (width <= 0 || height <= 0 || pixels == nullptr)
        throw EInvalidGraphicOperation("Cannot save an empty bitmap");
    if (bitCount != 8 && bitCount != 24 && bitCount != 32)
        throw EInvalidGraphicOperation(Format("Cannot save a bitmap with %d bits per pixel", bitCount));
    const std::size_t w = static_cast<std::size_t>(width), rows = static_cast<std::size_t>(height);
    std::vector<std::uint32_t> table;
    if (bitCount == 8) table = palette.empty() ? OwnPalette(pixels, w * rows) : palette;
    if (table.size() > 256) table.resize(256);
    const std::size_t stride = ((w * bitCount + 31) / 32) * 4;
    const std::size_t offBits = FileHeaderSize + 40 + table.size() * 4;
    const std::size_t fileSize = offBits + stride * rows;

    std::string out;
    out.reserve(fileSize);
    out += "BM";
    Put32(out, static_cast<std::uint32_t>(fileSize));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offBits));
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(bitCount));
    Put32(out, BI_RGB);
    Put32(out, static_cast<std::uint32_t>(stride * rows));
    Put32(out, 3780); // 96 dots per inch
    Put32(out, 3780);
    Put32(out, static_cast<std::uint32_t>(table.size()));
    Put32(out, 0);
    for (std::uint32_t c : table)
        Put32(out, c & 0x00FFFFFFu);

    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    std::string row(stride, '\0');
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint32_t* src = pixels + (rows - 1 - r) * w;
        std::uint8_t* dst = reinterpret_cast<std::uint8_t*>(row.data());
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t v = src[x];
            if (bitCount == 32) {
                std::memcpy(dst + 4 * x, &v, 4);
            } else if (bitCount == 24) {
                dst[3 * x] = static_cast<std::uint8_t>(v);
                dst[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                dst[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
            } else {
                const std::uint32_t rgb = v | 0xFF000000u;
                auto it = indexOf.find(rgb);
                if (it == indexOf.end())
                    it = indexOf.emplace(rgb, static_cast<std::uint8_t>(NearestPaletteIndex(table, rgb)))
                             .first;
                dst[x] = it->second;
            }
        }
        out.append(row);
    }
    return out;
}

} // namespace vcl_internal
