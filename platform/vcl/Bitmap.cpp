// TBitmap: 32-bit pixels shared until written, a canvas drawing straight into them, BMP files.
#include "platform/core/Streams.h"
#include "platform/vcl/BitmapFileCache.h"
#include "platform/vcl/BmpCodec.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImageData.h"
#include "platform/vcl/StreamBytes.h"

#include <algorithm>
#include <cstring>

using vcl_internal::TImageData;

// The bitmap's own canvas: its context is made on first use over the bitmap's pixels, and remade
// whenever the pixels move (a resize, or a copy made because they were shared).
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

protected:
    void PrepareHandle() override { bitmap_->Unshare(); }
    void CreateHandle() override {
        bitmap_->TakeFilePixels();
        if (bitmap_->data_)
            bitmap_->canvasDc_ =
                CreateMemoryDC(bitmap_->data_->Pixels.get(), bitmap_->width_, bitmap_->height_);
        else
            bitmap_->canvasDc_ = CreateCompatibleDC(nullptr); // draws nothing, as on an empty bitmap
        SetHandle(bitmap_->canvasDc_);
    }

private:
    TBitmap* bitmap_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    DropCanvasHandle();
}

void TBitmap::DropCanvasHandle() {
    if (!canvasDc_) return;
    if (canvas_) canvas_->SetHandle(nullptr);
    DeleteDC(canvasDc_);
    canvasDc_ = nullptr;
}

void TBitmap::TakeFilePixels() const {
    if (!file_) return;
    // Never written through this pointer while another holder exists: Unshare copies first.
    data_ = std::const_pointer_cast<TImageData>(file_->Pixels());
    file_.reset();
}

// Every write to the pixels comes here first (the canvas, ScanLine).
void TBitmap::Unshare() {
    TakeFilePixels();
    if (data_ && data_.use_count() > 1) {
        data_ = data_->Copy();
        DropCanvasHandle();
    }
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_) return;
    TakeFilePixels();
    std::shared_ptr<TImageData> fresh;
    if (width > 0 && height > 0) {
        fresh = TImageData::Create(width, height, true);
        if (data_) {
            const int w = std::min(width, width_), h = std::min(height, height_);
            for (int y = 0; y < h; ++y)
                std::memcpy(fresh->Row(y), data_->Row(y), static_cast<std::size_t>(w) * 4);
        }
    }
    DropCanvasHandle();
    file_.reset();
    data_ = std::move(fresh);
    width_ = width;
    height_ = height;
    Changed();
}

void TBitmap::FreeImage() {
    SetSize(0, 0);
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TBitmapCanvas>(this);
        canvas_->OnChange = TNotifyEvent([this](TObject*) { Changed(); });
    }
    return canvas_.get();
}

void* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= height_ || (!data_ && !file_)) throw ERangeError("Scan line index out of range");
    Unshare();
    return data_->Row(row);
}

const void* TBitmap::ScanLine(int row) const {
    TakeFilePixels();
    if (row < 0 || row >= height_ || !data_) throw ERangeError("Scan line index out of range");
    return data_->Row(row);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (pixelFormat_ == format) return;
    pixelFormat_ = format;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    TakeFilePixels();
    if (!data_) return clDefault;
    const std::uint32_t p = data_->Row(height_ - 1)[0];
    return static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

TColor TBitmap::DrawTransparentColor() const {
    const TColor c = TransparentColor();
    return c == clDefault ? clNone : c;
}

std::shared_ptr<const TImageData> TBitmap::ImageData() const {
    TakeFilePixels();
    return data_;
}

void TBitmap::SetImageData(std::shared_ptr<const TImageData> data, TPixelFormat format) {
    DropCanvasHandle();
    file_.reset();
    // Never written through this pointer while another holder exists: Unshare copies first.
    data_ = std::const_pointer_cast<TImageData>(std::move(data));
    width_ = data_ ? data_->Width : 0;
    height_ = data_ ? data_->Height : 0;
    pixelFormat_ = format;
    palette_.clear();
    Changed();
}

void TBitmap::TakeFile(std::shared_ptr<const vcl_internal::TBitmapFile> file) {
    DropCanvasHandle();
    data_.reset();
    width_ = file->Width;
    height_ = file->Height;
    pixelFormat_ = file->Format;
    palette_ = file->Palette;
    file_ = std::move(file);
    Changed();
}

void TBitmap::LoadFromMemory(const void* data, std::size_t size) {
    LoadBytes(static_cast<const std::uint8_t*>(data), size, nullptr);
}

void TBitmap::LoadBytes(const std::uint8_t* data, std::size_t size, std::unique_ptr<std::uint8_t[]> owned) {
    std::shared_ptr<const vcl_internal::TBitmapFile> file;
    try {
        file = vcl_internal::LoadBitmapFile(data, size, std::move(owned));
    } catch (...) {
        FreeImage();
        throw;
    }
    TakeFile(std::move(file));
}

void TBitmap::LoadFromStream(TStream* stream) {
    std::unique_ptr<std::uint8_t[]> storage;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    try {
        vcl_internal::StreamRemainder(stream, storage, data, size);
    } catch (...) {
        FreeImage();
        throw;
    }
    LoadBytes(data, size, std::move(storage));
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    const std::string root = FormResourceRoot();
    const bool resource = !root.empty() && fileName.size() > root.size() &&
                          fileName.compare(0, root.size(), root) == 0 && fileName[root.size()] == '/';
    std::shared_ptr<const vcl_internal::TBitmapFile> file;
    try {
        if (resource) file = vcl_internal::LoadBitmapFileAt(fileName);
    } catch (...) {
        FreeImage();
        throw;
    }
    if (!file) {
        TGraphic::LoadFromFile(fileName); // read now, raising what the stream raises
        return;
    }
    TakeFile(std::move(file));
}

std::string TBitmap::SaveToMemory() const {
    TakeFilePixels();
    if (!data_) throw EInvalidGraphicOperation("Cannot save an empty bitmap");
    const int bits = pixelFormat_ == pf8bit ? 8 : pixelFormat_ == pf32bit ? 32 : 24;
    return vcl_internal::EncodeBmp(data_->Pixels.get(), width_, height_, bits, palette_);
}

void TBitmap::SaveToStream(TStream* stream) const {
    const std::string file = SaveToMemory();
    stream->WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
}

void TBitmap::Assign(const TPersistent* source) {
    if (!source) {
        FreeImage();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        if (bitmap == this) return;
        transparentColor_ = bitmap->transparentColor_;
        transparentMode_ = bitmap->transparentMode_;
        SetTransparent(bitmap->Transparent());
        if (bitmap->file_) {
            TakeFile(bitmap->file_);
            pixelFormat_ = bitmap->pixelFormat_;
        } else {
            SetImageData(bitmap->data_, bitmap->pixelFormat_);
        }
        palette_ = bitmap->palette_;
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        Assign(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetImageData(graphic->ImageData(), dynamic_cast<const TIcon*>(graphic) ? pf32bit : pf24bit);
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(this);
    return copy;
}
