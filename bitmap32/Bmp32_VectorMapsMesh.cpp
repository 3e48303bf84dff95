// The vector map's mesh file. Everything in it comes from outside: the header's size is checked
// against the bytes that are really there before anything is allocated, and the vectors are read into
// a scratch array first, so a bad file leaves the map as it was.
#include "bitmap32/Bmp32_VectorMaps.h"

#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"

#include <bit>
#include <cstring>
#include <vector>

namespace Bmp32_VectorMaps {

namespace {

const char* const kWrongFormat = "File is not in the .msh mesh format";

std::uint32_t ReadLE32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

void WriteLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

// Reads of a single call are limited to what an int counts; vectors are read in blocks below that.
constexpr std::int64_t kReadBlock = 1 << 24;

} // namespace

void TVectorMap::LoadFromStream(TStream* Stream) {
    std::uint8_t header[MeshHeaderSize];
    const std::int64_t available = Stream->Size() - Stream->Position();
    if (available < MeshHeaderSize) throw Exception(kWrongFormat);
    Stream->ReadBuffer(header, MeshHeaderSize);
    if (LowerCase(std::string_view(reinterpret_cast<const char*>(header + 4), 8)) !=
        LowerCase(MeshIdentifier))
        throw Exception(kWrongFormat);
    const auto width = static_cast<std::int32_t>(ReadLE32(header + 16));
    const auto height = static_cast<std::int32_t>(ReadLE32(header + 20));
    if (width < 0 || height < 0) throw Exception("Mesh file has a negative size");
    // Both factors are below 2^31, so the count fits in 64 bits; eight times it may not.
    const std::int64_t count = std::int64_t{width} * height;
    if (count > (available - MeshHeaderSize) / 8) throw Exception("Mesh file is shorter than its vectors");

    std::vector<TFixedPoint> vectors(static_cast<std::size_t>(count));
    std::vector<std::uint8_t> block;
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t n = std::min<std::int64_t>(count - done, kReadBlock / 8);
        block.resize(static_cast<std::size_t>(n * 8));
        Stream->ReadBuffer(block.data(), n * 8);
        for (std::int64_t i = 0; i < n; ++i) {
            const float x = std::bit_cast<float>(ReadLE32(block.data() + i * 8));
            const float y = std::bit_cast<float>(ReadLE32(block.data() + i * 8 + 4));
            vectors[static_cast<std::size_t>(done + i)] = FixedPoint(x, y);
        }
        done += n;
    }

    SetSize(width, height);
    if (!FVectors.empty()) FVectors.swap(vectors);
    Changed();
}

void TVectorMap::SaveToStream(TStream* Stream) const {
    std::uint8_t header[MeshHeaderSize];
    WriteLE32(header, MeshSignature);
    std::memcpy(header + 4, MeshIdentifier, 8);
    WriteLE32(header + 12, MeshVersion);
    WriteLE32(header + 16, static_cast<std::uint32_t>(FWidth));
    WriteLE32(header + 20, static_cast<std::uint32_t>(FHeight));
    Stream->WriteBuffer(header, MeshHeaderSize);
    // The floats go through a scratch block: converting the map itself would round its vectors.
    std::vector<std::uint8_t> block;
    const std::int64_t count = static_cast<std::int64_t>(FVectors.size());
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t n = std::min<std::int64_t>(count - done, kReadBlock / 8);
        block.resize(static_cast<std::size_t>(n * 8));
        for (std::int64_t i = 0; i < n; ++i) {
            const TFloatPoint f = FloatPoint(FVectors[static_cast<std::size_t>(done + i)]);
            WriteLE32(block.data() + i * 8, std::bit_cast<std::uint32_t>(f.X));
            WriteLE32(block.data() + i * 8 + 4, std::bit_cast<std::uint32_t>(f.Y));
        }
        Stream->WriteBuffer(block.data(), n * 8);
        done += n;
    }
    const std::uint8_t tail[8] = {};
    Stream->WriteBuffer(tail, sizeof tail);
}

void TVectorMap::LoadFromFile(const std::string& FileName) {
    if (!FileExists(FileName)) throw Exception("File not found!");
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TVectorMap::SaveToFile(const std::string& FileName) const {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

} // namespace Bmp32_VectorMaps
