// Metafiles: pictures kept as the drawing that made them rather than as pixels. A TMetafileCanvas
// records into one; drawing the metafile replays the recording stretched to the rectangle given, so
// it stays sharp at any size.
//     TMetafile picture;
//     picture.SetWidth(64);
//     picture.SetHeight(32);
//     {
//         TMetafileCanvas canvas(&picture, nullptr);
//         canvas.Brush()->SetColor(clRed);
//         canvas.FillRect(Rect(0, 0, 32, 32));
//     }                                                  // the recording ends here
//     Canvas->StretchDraw(Rect(0, 0, 128, 64), &picture);
//
// Metafiles are made by the program only: a recording read from a file could not be checked before
// the toolkit replays it, so there is no metafile file format (LoadFromStream and SaveToStream raise).
#pragma once

#include "platform/vcl/Graphics.h"

#include <memory>

namespace vcl_internal {
struct TRecording;
}

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;

    // Empty until a recording ends; a size alone draws nothing.
    bool Empty() const override { return !recording_; }
    // The rectangle (0, 0, Width, Height) of the recording is what Draw stretches. Negative sizes
    // are 0; sides are at most 32768.
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void Clear(); // no recording, no size

    void LoadFromStream(TStream* stream) override;     // raises EInvalidGraphic
    void SaveToStream(TStream* stream) const override; // raises EInvalidGraphicOperation
    void Assign(const TPersistent* source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    // The metafile drawn over white at its size, as a bitmap takes it; nullptr when it draws nothing.
    std::shared_ptr<const vcl_internal::TImageData> ImageData() const override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) const override;

private:
    friend class TMetafileCanvas;
    void SetSize(int width, int height);
    void TakeRecording(std::shared_ptr<const vcl_internal::TRecording> recording, int width, int height);

    std::shared_ptr<const vcl_internal::TRecording> recording_;
    int width_ = 0;
    int height_ = 0;
};

// Records what is drawn on it into `metafile` (which must outlive it). When the canvas is destroyed
// the metafile holds the recording in place of what it held; a side of the metafile's size that is
// still 0 then becomes the extent of the drawing from 0. The reference device is not needed: every
// surface here has 32 bits per pixel and 96 pixels per inch.
class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(TMetafile* metafile, HDC referenceDevice);
    ~TMetafileCanvas() override;

private:
    struct TImpl;
    TMetafile* metafile_;
    std::unique_ptr<TImpl> impl_;
};
