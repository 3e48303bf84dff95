#include "platform/vcl/JpegCodec.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/BmpCodec.h"
#include "platform/vcl/GraphicsErrors.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

// The calls into libjpeg live in functions that hold nothing but plain data, because a libjpeg error
// leaves them through longjmp: no C++ destructor may be skipped on the way.

namespace vcl_internal {

namespace {

struct TErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings that mean the picture data is damaged end the decode like errors; the rest (extra bytes
// between markers, unknown JFIF revisions) are harmless and ignored.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level != -1) return;
    switch (cinfo->err->msg_code) {
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        ErrorExit(cinfo);
        break;
    default:
        cinfo->err->num_warnings++;
        break;
    }
}

void OutputMessage(j_common_ptr) {}

void InitErrors(TErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
    err.message[0] = '\0';
}

// Source: the caller's buffer, read once. Running past its end is an error, not the fake end marker
// libjpeg's own managers insert, so that a cut picture is reported instead of drawn grey.
void SourceInit(j_decompress_ptr) {}
boolean SourceFill(j_decompress_ptr cinfo) {
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}
void SourceSkip(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) ERREXIT(cinfo, JERR_INPUT_EOF);
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<std::size_t>(count);
}
void SourceTerm(j_decompress_ptr) {}

struct TDecoder {
    jpeg_decompress_struct cinfo;
    TErrorManager err;
    jpeg_source_mgr src;
    bool created = false;
};

bool BeginDecode(TDecoder* d, const std::uint8_t* data, std::size_t size) {
    if (setjmp(d->err.jump)) return false;
    jpeg_create_decompress(&d->cinfo);
    d->created = true;
    d->src.init_source = SourceInit;
    d->src.fill_input_buffer = SourceFill;
    d->src.skip_input_data = SourceSkip;
    d->src.resync_to_restart = jpeg_resync_to_restart;
    d->src.term_source = SourceTerm;
    d->src.next_input_byte = data;
    d->src.bytes_in_buffer = size;
    d->cinfo.src = &d->src;
    jpeg_read_header(&d->cinfo, TRUE);
    return true;
}

bool StartDecode(TDecoder* d) {
    if (setjmp(d->err.jump)) return false;
    jpeg_start_decompress(&d->cinfo);
    return true;
}

bool ReadRows(TDecoder* d, JSAMPROW* rows, int height) {
    if (setjmp(d->err.jump)) return false;
    while (d->cinfo.output_scanline < static_cast<JDIMENSION>(height)) {
        const JDIMENSION done = d->cinfo.output_scanline;
        const JDIMENSION max = std::min<JDIMENSION>(static_cast<JDIMENSION>(height) - done, 16);
        if (jpeg_read_scanlines(&d->cinfo, rows + done, max) == 0) ERREXIT(&d->cinfo, JERR_INPUT_EOF);
    }
    jpeg_finish_decompress(&d->cinfo);
    return true;
}

// Destroys the decompressor on every way out of DecodeJpeg, exceptions included.
class TDecoderGuard {
public:
    explicit TDecoderGuard(TDecoder& d) : d_(d) {}
    ~TDecoderGuard() {
        if (d_.created) jpeg_destroy_decompress(&d_.cinfo);
    }
    TDecoderGuard(const TDecoderGuard&) = delete;
    TDecoderGuard& operator=(const TDecoderGuard&) = delete;

private:
    TDecoder& d_;
};

[[noreturn]] void FailDecode(const TDecoder& d) {
    throw EJPEG(std::string("JPEG error: ") + (d.err.message[0] ? d.err.message : "unreadable picture"));
}

void Prepare(TDecoder& d, const std::uint8_t* data, std::size_t size) {
    std::memset(&d.cinfo, 0, sizeof d.cinfo);
    InitErrors(d.err);
    d.cinfo.err = &d.err.pub;
    if (data == nullptr || size == 0) throw EJPEG("JPEG error: no picture data");
}

} // namespace

void ReadJpegSize(const std::uint8_t* data, std::size_t size, int& width, int& height) {
    TDecoder d;
    Prepare(d, data, size);
    TDecoderGuard guard(d);
    if (!BeginDecode(&d, data, size)) FailDecode(d);
    width = static_cast<int>(d.cinfo.image_width);
    height = static_cast<int>(d.cinfo.image_height);
}

void DecodeJpeg(const std::uint8_t* data, std::size_t size, const TJpegDecodeOptions& options,
                TJpegAllocate allocate, void* context) {
    TDecoder d;
    Prepare(d, data, size);
    TDecoderGuard guard(d);
    if (!BeginDecode(&d, data, size)) FailDecode(d);
    jpeg_decompress_struct& c = d.cinfo;
    if (static_cast<std::int64_t>(c.image_width) * c.image_height > MaxBitmapPixels ||
        c.image_width > static_cast<unsigned>(MaxBitmapSide) ||
        c.image_height > static_cast<unsigned>(MaxBitmapSide))
        throw EJPEG(Format("JPEG error: %u x %u pixels is too large", c.image_width, c.image_height));

    const int denom = options.ScaleDenominator;
    c.scale_num = 1;
    c.scale_denom = (denom == 2 || denom == 4 || denom == 8) ? denom : 1;
    const bool gray = options.Grayscale || c.num_components == 1;
    // Colour pictures go straight into the 32-bit rows; grey ones are expanded in place afterwards.
    c.out_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGRA;
    if (options.Fast) {
        c.dct_method = JDCT_IFAST;
        c.do_fancy_upsampling = FALSE;
        c.do_block_smoothing = FALSE;
    }
    if (!StartDecode(&d)) FailDecode(d);
    const int width = static_cast<int>(c.output_width);
    const int height = static_cast<int>(c.output_height);
    std::uint32_t* pixels = allocate(context, width, height);
    if (pixels == nullptr) throw EJPEG("JPEG error: no memory for the picture");

    std::vector<JSAMPROW> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<JSAMPROW>(pixels + static_cast<std::size_t>(y) * width);
    if (!ReadRows(&d, rows.data(), height)) FailDecode(d);
    if (gray) {
        // Each grey row sits in the first quarter of its own 32-bit row; expand from the right end.
        for (int y = 0; y < height; ++y) {
            std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
            const std::uint8_t* g = reinterpret_cast<const std::uint8_t*>(row);
            for (int x = width - 1; x >= 0; --x) {
                const std::uint32_t v = g[x];
                row[x] = 0xFF000000u | (v << 16) | (v << 8) | v;
            }
        }
    }
}

namespace {

struct TDestination {
    jpeg_destination_mgr pub;
    std::vector<std::uint8_t>* out;
};

constexpr std::size_t DestinationChunk = 64 * 1024;

void DestinationInit(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<TDestination*>(cinfo->dest);
    try {
        dest->out->resize(DestinationChunk);
    } catch (...) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    }
    dest->pub.next_output_byte = dest->out->data();
    dest->pub.free_in_buffer = dest->out->size();
}

boolean DestinationEmpty(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<TDestination*>(cinfo->dest);
    const std::size_t used = dest->out->size();
    try {
        dest->out->resize(used * 2);
    } catch (...) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 2);
    }
    dest->pub.next_output_byte = dest->out->data() + used;
    dest->pub.free_in_buffer = dest->out->size() - used;
    return TRUE;
}

void DestinationTerm(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<TDestination*>(cinfo->dest);
    dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

struct TEncoder {
    jpeg_compress_struct cinfo;
    TErrorManager err;
    TDestination dest;
    bool created = false;
};

bool Encode(TEncoder* e, const std::uint32_t* pixels, int width, int height, const TJpegEncodeOptions* o) {
    if (setjmp(e->err.jump)) return false;
    jpeg_create_compress(&e->cinfo);
    e->created = true;
    e->dest.pub.init_destination = DestinationInit;
    e->dest.pub.empty_output_buffer = DestinationEmpty;
    e->dest.pub.term_destination = DestinationTerm;
    e->cinfo.dest = &e->dest.pub;
    e->cinfo.image_width = static_cast<JDIMENSION>(width);
    e->cinfo.image_height = static_cast<JDIMENSION>(height);
    e->cinfo.input_components = 4;
    e->cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&e->cinfo);
    if (o->Grayscale) jpeg_set_colorspace(&e->cinfo, JCS_GRAYSCALE);
    const int quality = o->Quality < 1 ? 1 : (o->Quality > 100 ? 100 : o->Quality);
    jpeg_set_quality(&e->cinfo, quality, TRUE);
    if (o->Progressive) jpeg_simple_progression(&e->cinfo);
    jpeg_start_compress(&e->cinfo, TRUE);
    while (e->cinfo.next_scanline < e->cinfo.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            const_cast<std::uint32_t*>(pixels + static_cast<std::size_t>(e->cinfo.next_scanline) * width));
        jpeg_write_scanlines(&e->cinfo, &row, 1);
    }
    jpeg_finish_compress(&e->cinfo);
    return true;
}

} // namespace

std::string EncodeJpeg(const std::uint32_t* pixels, int width, int height,
                       const TJpegEncodeOptions& options) {
    if (pixels == nullptr || width <= 0 || height <= 0)
        throw EJPEG("JPEG error: cannot save an empty picture");
    if (width > 65500 || height > 65500) throw EJPEG("JPEG error: picture too large for JPEG");
    std::vector<std::uint8_t> out;
    TEncoder e;
    std::memset(&e.cinfo, 0, sizeof e.cinfo);
    InitErrors(e.err);
    e.cinfo.err = &e.err.pub;
    e.dest.out = &out;
    const bool ok = Encode(&e, pixels, width, height, &options);
    if (e.created) jpeg_destroy_compress(&e.cinfo);
    if (!ok) throw EJPEG(std::string("JPEG error: ") + e.err.message);
    return std::string(out.begin(), out.end());
}

} // namespace vcl_internal
