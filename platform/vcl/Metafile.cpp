// Metafiles: the toolkit's recorded drawing with a size, replayed onto any context; and the canvas
// that records one.
#include "platform/vcl/Metafile.h"

#include "platform/vcl/BmpCodec.h"
#include "platform/vcl/DcInternal.h"
#include "platform/vcl/GraphicsQt.h"
#include "platform/vcl/ImageData.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QPolygonF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace vcl_internal {

struct TRecording {
    QPicture Picture;
};

} // namespace vcl_internal

using vcl_internal::TImageData;
using vcl_internal::TRecording;

namespace {

int ClampSide(int side) {
    return std::clamp(side, 0, vcl_internal::MaxBitmapSide);
}

// Replays a recording of width x height stretched over `target`, nothing outside it. A target of
// negative width or height mirrors.
void Replay(QPainter& painter, const QPicture& picture, int width, int height, const TRect& target) {
    painter.setClipRect(QRect(std::min(target.Left, target.Right), std::min(target.Top, target.Bottom),
                              std::abs(target.Right - target.Left), std::abs(target.Bottom - target.Top)),
                        Qt::IntersectClip);
    painter.translate(target.Left, target.Top);
    painter.scale(static_cast<qreal>(target.Right - target.Left) / width,
                  static_cast<qreal>(target.Bottom - target.Top) / height);
    painter.drawPicture(0, 0, picture);
}

// What a recording covers: everything it draws, outlines included. The toolkit's own bounding
// rectangle of a recording leaves text out.
class TExtentEngine : public QPaintEngine {
public:
    TExtentEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawPath(const QPainterPath& path) override { Add(path.controlPointRect(), true); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        Add(QPolygonF(QList<QPointF>(points, points + count)).boundingRect(), true);
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { Add(r, false); }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        Add(r, false);
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap&, const QPointF&) override { Add(r, false); }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        Add(QRectF(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent()), false);
    }

    QRectF Extent;

private:
    void Add(QRectF area, bool outlined) {
        if (outlined && painter()->pen().style() != Qt::NoPen) {
            const qreal half = std::max<qreal>(painter()->pen().widthF(), 1) / 2;
            area.adjust(-half, -half, half, half);
        }
        Extent |= painter()->combinedTransform().mapRect(area);
    }
};

class TExtentDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &Engine; }
    mutable TExtentEngine Engine;

protected:
    // The same metrics as every other surface here, so that text measures as it was recorded.
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return vcl_internal::MaxBitmapSide;
        case PdmWidthMM:
        case PdmHeightMM:
            return vcl_internal::MaxBitmapSide * 254 / 960;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }
};

QRectF ExtentOf(const QPicture& picture) {
    TExtentDevice device;
    QPainter painter(&device);
    painter.drawPicture(0, 0, picture);
    painter.end();
    return device.Engine.Extent;
}

} // namespace

TMetafile::TMetafile() {
    // What the recording leaves untouched shows what lies under it.
    SetTransparent(true);
}

TMetafile::~TMetafile() = default;

void TMetafile::SetSize(int width, int height) {
    width = ClampSide(width);
    height = ClampSide(height);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    Changed();
}

void TMetafile::SetWidth(int width) {
    SetSize(width, height_);
}

void TMetafile::SetHeight(int height) {
    SetSize(width_, height);
}

void TMetafile::Clear() {
    recording_.reset();
    width_ = 0;
    height_ = 0;
    Changed();
}

void TMetafile::TakeRecording(std::shared_ptr<const TRecording> recording, int width, int height) {
    recording_ = std::move(recording);
    width_ = ClampSide(width);
    height_ = ClampSide(height);
    Changed();
}

void TMetafile::LoadFromStream(TStream*) {
    Clear();
    throw EInvalidGraphic("Metafiles cannot be read from files");
}

void TMetafile::SaveToStream(TStream*) const {
    throw EInvalidGraphicOperation("Metafiles cannot be saved to files");
}

void TMetafile::Assign(const TPersistent* source) {
    if (!source) {
        Clear();
        return;
    }
    if (const auto* metafile = dynamic_cast<const TMetafile*>(source)) {
        if (metafile != this) TakeRecording(metafile->recording_, metafile->width_, metafile->height_);
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TMetafile::Clone() const {
    auto copy = std::make_unique<TMetafile>();
    copy->Assign(this);
    copy->SetTransparent(Transparent());
    return copy;
}

std::shared_ptr<const TImageData> TMetafile::ImageData() const {
    if (!recording_ || width_ == 0 || height_ == 0) return nullptr;
    vcl_qt::EnsureGuiApplication();
    auto data = TImageData::Create(width_, height_, false);
    QImage view(reinterpret_cast<uchar*>(data->Pixels.get()), width_, height_, width_ * 4,
                QImage::Format_RGB32);
    view.fill(0xFFFFFFFFu);
    QPainter painter(&view);
    Replay(painter, recording_->Picture, width_, height_, TRect{0, 0, width_, height_});
    return data;
}

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) const {
    HDC dc = canvas->Handle();
    if (!recording_ || width_ == 0 || height_ == 0 || !dc) return;
    vcl_internal::TDcPaint paint(dc);
    if (paint) Replay(*paint, recording_->Picture, width_, height_, rect);
}

struct TMetafileCanvas::TImpl {
    QPicture Picture;
    QPainter Painter;
    HDC Dc = nullptr;
};

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC) : metafile_(metafile) {
    if (!metafile_) throw EInvalidGraphicOperation("A metafile canvas needs a metafile");
    vcl_qt::EnsureGuiApplication();
    impl_ = std::make_unique<TImpl>();
    impl_->Painter.begin(&impl_->Picture);
    // Without a size yet, the surface is as large as any picture may be; the drawing decides.
    const int width = metafile_->Width() > 0 ? metafile_->Width() : vcl_internal::MaxBitmapSide;
    const int height = metafile_->Height() > 0 ? metafile_->Height() : vcl_internal::MaxBitmapSide;
    impl_->Dc = vcl_qt::CreatePainterDC(&impl_->Painter, QSize(width, height));
    SetHandle(impl_->Dc);
}

TMetafileCanvas::~TMetafileCanvas() {
    SetHandle(nullptr);
    DeleteDC(impl_->Dc);
    impl_->Painter.end();
    auto recording = std::make_shared<TRecording>();
    recording->Picture = impl_->Picture;
    int width = metafile_->Width();
    int height = metafile_->Height();
    if (width == 0 || height == 0) {
        const QRectF extent = ExtentOf(recording->Picture);
        auto side = [](qreal end) {
            return static_cast<int>(std::ceil(std::clamp<qreal>(end, 0, vcl_internal::MaxBitmapSide)));
        };
        if (width == 0) width = side(extent.right());
        if (height == 0) height = side(extent.bottom());
    }
    metafile_->TakeRecording(std::move(recording), width, height);
}
