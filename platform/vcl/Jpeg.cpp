// TJPEGImage: compressed data kept as loaded, pixels decoded at once.
#include "platform/vcl/Jpeg.h"

#include "platform/core/Streams.h"
#include "platform/vcl/ImageData.h"
#include "platform/vcl/JpegCodec.h"
#include "platform/vcl/StreamBytes.h"

#include <algorithm>

using vcl_internal::TImageData;

namespace {

// Every decoding gets pixels of its own: the last ones may be shown or held elsewhere.
std::uint32_t* Allocate(void* context, int width, int height) {
    auto* target = static_cast<std::shared_ptr<TImageData>*>(context);
    *target = TImageData::Create(width, height, false);
    return (*target)->Pixels.get();
}

int Denominator(TJPEGScale scale) {
    switch (scale) {
    case jsHalf:
        return 2;
    case jsQuarter:
        return 4;
    case jsEighth:
        return 8;
    default:
        return 1;
    }
}

} // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const {
    return pixels_ ? pixels_->Width : 0;
}
int TJPEGImage::Height() const {
    return pixels_ ? pixels_->Height : 0;
}

void TJPEGImage::SetWidth(int) {
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}
void TJPEGImage::SetHeight(int) {
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetCompressionQuality(int quality) {
    quality_ = std::clamp(quality, 1, 100);
}

void TJPEGImage::SetGrayscale(bool grayscale) {
    if (grayscale_ == grayscale) return;
    grayscale_ = grayscale;
    if (compressed_) {
        Decode();
        Changed();
    }
}

void TJPEGImage::SetScale(TJPEGScale scale) {
    if (scale_ == scale) return;
    scale_ = scale;
    if (compressed_) {
        Decode();
        Changed();
    }
}

void TJPEGImage::SetPerformance(TJPEGPerformance performance) {
    if (performance_ == performance) return;
    performance_ = performance;
    if (compressed_) {
        Decode();
        Changed();
    }
}

void TJPEGImage::Clear() {
    compressed_.reset();
    pixels_.reset();
    decoded_ = false;
}

void TJPEGImage::Decode() {
    std::shared_ptr<TImageData> target;
    pixels_.reset();
    decoded_ = false;
    vcl_internal::TJpegDecodeOptions options;
    options.ScaleDenominator = Denominator(scale_);
    options.Grayscale = grayscale_;
    options.Fast = performance_ == jpBestSpeed;
    try {
        vcl_internal::DecodeJpeg(reinterpret_cast<const std::uint8_t*>(compressed_->data()),
                                 compressed_->size(), options, Allocate, &target);
    } catch (...) {
        Clear();
        throw;
    }
    pixels_ = std::move(target);
    decoded_ = true;
}

void TJPEGImage::LoadFromMemory(const void* data, std::size_t size) {
    try {
        if (!data || size == 0) throw EJPEG("JPEG error: no picture data");
        compressed_ = std::make_shared<const std::string>(static_cast<const char*>(data), size);
        Decode();
    } catch (...) {
        Clear();
        Changed();
        throw;
    }
    Changed();
}

void TJPEGImage::LoadFromStream(TStream* stream) {
    std::unique_ptr<std::uint8_t[]> storage;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    try {
        vcl_internal::StreamRemainder(stream, storage, data, size);
    } catch (...) {
        Clear();
        Changed();
        throw;
    }
    LoadFromMemory(data, size);
}

void TJPEGImage::JPEGNeeded() {
    if (compressed_ || !pixels_) return;
    compressed_ = std::make_shared<const std::string>(SaveToMemory());
}

std::string TJPEGImage::SaveToMemory() const {
    if (compressed_) return *compressed_;
    if (!pixels_) throw EInvalidGraphicOperation("Cannot save an empty JPEG image");
    vcl_internal::TJpegEncodeOptions options;
    options.Quality = quality_;
    options.Grayscale = grayscale_;
    options.Progressive = progressive_;
    return vcl_internal::EncodeJpeg(pixels_->Pixels.get(), pixels_->Width, pixels_->Height, options);
}

void TJPEGImage::SaveToStream(TStream* stream) const {
    if (compressed_) {
        stream->WriteBuffer(compressed_->data(), static_cast<std::int64_t>(compressed_->size()));
        return;
    }
    const std::string file = SaveToMemory();
    stream->WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
}

std::shared_ptr<const TImageData> TJPEGImage::ImageData() const {
    return pixels_;
}

void TJPEGImage::Assign(const TPersistent* source) {
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        if (jpeg == this) return;
        compressed_ = jpeg->compressed_;
        pixels_ = jpeg->pixels_;
        decoded_ = jpeg->decoded_;
        quality_ = jpeg->quality_;
        grayscale_ = jpeg->grayscale_;
        scale_ = jpeg->scale_;
        performance_ = jpeg->performance_;
        progressive_ = jpeg->progressive_;
        Changed();
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        Assign(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        compressed_.reset();
        pixels_ = graphic->ImageData();
        decoded_ = false;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    auto copy = std::make_unique<TJPEGImage>();
    copy->Assign(this);
    return copy;
}
