// JPEG decoding and encoding on libjpeg's 6b interface. Platform-internal: TJPEGImage and the tools
// that make test pictures use it. Every libjpeg failure comes back as EJPEG; the process never exits
// and nothing leaks, whatever the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vcl_internal {

struct TJpegDecodeOptions {
    int ScaleDenominator = 1; // 1, 2, 4 or 8: the picture is decoded at that fraction of its size
    bool Grayscale = false;
    bool Fast = false; // integer DCT and simple upsampling, for speed over quality
};

// Where the decoded pixels go: called once, after the header is read, with the output size; returns
// the first row of a top-down Width x Height buffer of 32-bit pixels ($FFRRGGBB written), stride Width.
// The callback may throw; the decoder cleans up and lets the exception through.
using TJpegAllocate = std::uint32_t* (*)(void* context, int width, int height);

// Throws EJPEG for data that is not a complete picture: garbage, truncated or damaged data, or a
// picture larger than the bitmap limits. On failure the callback's buffer may hold partial rows.
void DecodeJpeg(const std::uint8_t* data, std::size_t size, const TJpegDecodeOptions& options,
                TJpegAllocate allocate, void* context);

// Reads only the header: the picture's full size. Throws EJPEG as DecodeJpeg.
void ReadJpegSize(const std::uint8_t* data, std::size_t size, int& width, int& height);

struct TJpegEncodeOptions {
    int Quality = 90; // 1..100
    bool Grayscale = false;
    bool Progressive = false;
};

// Encodes top-down 32-bit pixels (alpha ignored) to a complete JPEG file image.
std::string EncodeJpeg(const std::uint32_t* pixels, int width, int height, const TJpegEncodeOptions& options);

} // namespace vcl_internal
