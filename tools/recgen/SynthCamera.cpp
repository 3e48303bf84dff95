#include "tools/recgen/SynthCamera.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace recgen {

namespace {

// 5 x 7 glyphs, one byte per row, bit 4 leftmost.
struct Glyph {
    char c;
    BYTE rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}}, {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

// Camera colours: red, green, blue, yellow.
constexpr BYTE kTint[4][3] = {{220, 60, 60}, {60, 200, 80}, {70, 90, 230}, {230, 210, 60}};

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    err->base.format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

} // namespace

SynthCamera::SynthCamera(int channel, int width, int height, int quality)
    : channel_(channel), width_(width), height_(height), quality_(quality) {
    if (channel < 1 || channel > 4 || width < 16 || height < 16 || width > 4096 || height > 4096)
        throw EInvalidArgument(Format("camera %d of %d x %d", channel, width, height));
    rgb_.resize(static_cast<std::size_t>(width) * height * 3);
}

void SynthCamera::DrawPattern(DWORD tick) {
    const BYTE* tint = kTint[channel_ - 1];
    const int shift = static_cast<int>(tick * 4);
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    // The stripes repeat every 32 rows while x + y + shift stays positive, so only the first 32 rows
    // are drawn pixel by pixel and the rest copied: the pattern was most of a generated store's time.
    const bool periodic = shift >= 0 && shift <= INT_MAX - width_ - height_;
    BYTE colours[2][64][3];
    for (int stripe = 0; stripe < 2; ++stripe)
        for (int i = 0; i < 64; ++i)
            for (int c = 0; c < 3; ++c)
                colours[stripe][i][c] = static_cast<BYTE>(tint[c] * (96 + i + (stripe ? 64 : 0)) / 255);
    for (int y = 0; y < height_; ++y) {
        BYTE* row = rgb_.data() + static_cast<std::size_t>(y) * rowBytes;
        if (periodic && y >= 32) {
            std::memcpy(row, row - 32 * rowBytes, rowBytes);
            continue;
        }
        for (int x = 0; x < width_; ++x) {
            const int stripe = ((x + y + shift) / 16) & 1;
            std::memcpy(row + x * 3, colours[stripe][(x + shift) & 63], 3);
        }
    }
    // A bright square crossing the picture shows motion even at low rates.
    const int box = height_ / 5;
    const int boxX = static_cast<int>((tick * 7) % static_cast<DWORD>(width_ - box));
    const int boxY = height_ / 2 - box / 2;
    for (int y = boxY; y < boxY + box; ++y)
        std::memset(rgb_.data() + static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(boxX) * 3,
                    250, static_cast<std::size_t>(box) * 3);
}

void SynthCamera::DrawText(const char* text, int x0, int y0, int scale) {
    for (int i = 0; text[i]; ++i) {
        const Glyph* g = FindGlyph(text[i]);
        const int gx = x0 + i * 6 * scale;
        if (!g) continue;
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 5; ++c) {
                if (!(g->rows[r] & (0x10 >> c))) continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx) {
                        const int x = gx + c * scale + dx, y = y0 + r * scale + dy;
                        if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
                        BYTE* px = rgb_.data() + (static_cast<std::size_t>(y) * width_ + x) * 3;
                        px[0] = px[1] = px[2] = 255;
                    }
            }
    }
}

std::vector<BYTE> SynthCamera::Picture(DWORD time, DWORD tick) {
    DrawPattern(tick);
    const int scale = width_ >= 640 ? 4 : 2;
    // Bottom left: the client draws its own titles and GPS text at the top.
    const int top = height_ - 8 - 25 * scale;
    DrawText(Format("CAM%d", channel_).c_str(), 8, top, scale);
    const SYSTEMTIME t = UnixToUtc(time);
    DrawText(Format("%04d/%02d/%02d", t.wYear, t.wMonth, t.wDay).c_str(), 8, top + 9 * scale, scale);
    DrawText(Format("%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond).c_str(), 8, top + 18 * scale, scale);

    jpeg_compress_struct info;
    ErrorManager err;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnJpegError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(out);
        throw EInvalidOperation(Format("JPEG compression failed: %s", err.message));
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = static_cast<JDIMENSION>(width_);
    info.image_height = static_cast<JDIMENSION>(height_);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality_, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = rgb_.data() + static_cast<std::size_t>(info.next_scanline) * width_ * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<BYTE> jpeg(out, out + outSize);
    std::free(out);
    return jpeg;
}

} // namespace recgen
