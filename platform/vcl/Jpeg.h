// JPEG pictures (libjpeg underneath). A TJPEGImage keeps the compressed data it was loaded from and
// its decoded pixels; loading decodes at once, so damaged data is reported by the load itself:
// LoadFromStream / LoadFromMemory raise EJPEG and leave the image empty, whatever the bytes.
//
// Live video decodes many frames a second: LoadFromMemory decodes straight into the image's own
// 32-bit pixels (reused when nothing else shares them), and TPicture::Assign / Canvas draws share
// those pixels instead of copying them.
#pragma once

#include "platform/vcl/Graphics.h"

#include <memory>
#include <string>

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGPixelFormat { jf24Bit, jf8Bit };

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    TJPEGImage(const TJPEGImage&) = delete;
    TJPEGImage& operator=(const TJPEGImage&) = delete;

    bool Empty() const override { return !pixels_; }
    // The decoded size (after Scale).
    int Width() const override;
    int Height() const override;
    // Raise EInvalidGraphicOperation: a JPEG image takes its size from its data.
    void SetWidth(int) override;
    void SetHeight(int) override;

    // 1..100, used when the image is saved after it was assigned from pixels. Default 90.
    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int quality);
    bool Grayscale() const { return grayscale_; }
    void SetGrayscale(bool grayscale);
    TJPEGScale Scale() const { return scale_; }
    void SetScale(TJPEGScale scale);
    TJPEGPerformance Performance() const { return performance_; }
    void SetPerformance(TJPEGPerformance performance);
    bool ProgressiveEncoding() const { return progressive_; }
    void SetProgressiveEncoding(bool progressive) { progressive_ = progressive; }
    TJPEGPixelFormat PixelFormat() const { return grayscale_ ? jf8Bit : jf24Bit; }
    // Setting Scale, Grayscale or Performance on a loaded image decodes it again from its data.

    void LoadFromStream(TStream* stream) override;
    void LoadFromMemory(const void* data, std::size_t size);
    // The loaded data as it was, or a fresh encoding of pixels assigned since.
    void SaveToStream(TStream* stream) const override;
    std::string SaveToMemory() const;

    // TJPEGImage (shares data and pixels), TBitmap and other graphics (their pixels, encoded when
    // saved), TPicture (its graphic), nullptr (empties).
    void Assign(const TPersistent* source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    std::shared_ptr<const vcl_internal::TImageData> ImageData() const override;
    // Pixels of its own decoding are opaque; pixels assigned from another graphic may not be.
    bool Opaque() const override { return pixels_ && decoded_ && !Transparent(); }

    // The class library's explicit steps; both already happened after a load or an assign.
    void DIBNeeded() {}
    void JPEGNeeded();
    void Compress() { JPEGNeeded(); }

private:
    void Decode();
    void Clear();

    std::shared_ptr<const std::string> compressed_; // shared between copies, never changed
    // Never written: shared with copies and with the graphics assigned from this one.
    std::shared_ptr<const vcl_internal::TImageData> pixels_;
    bool decoded_ = false; // pixels_ come from decoding compressed_
    int quality_ = 90;
    bool grayscale_ = false;
    TJPEGScale scale_ = jsFullSize;
    TJPEGPerformance performance_ = jpBestQuality;
    bool progressive_ = false;
};
