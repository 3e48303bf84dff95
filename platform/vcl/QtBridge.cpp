// The Qt side of the graphics classes: the GUI application object, colours, fonts and image views.
#include "platform/vcl/GraphicsQt.h"
#include "platform/vcl/QtSupport.h"

#include "platform/vcl/DcInternal.h"
#include "platform/vcl/FontMap.h"
#include "platform/vcl/ImageData.h"

#include <QApplication>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace vcl_qt {

namespace {

constexpr int DefaultEmPixels = 11;

int EmFromCell(const QFont& font, int cell) {
    QFont probe(font);
    probe.setPixelSize(100);
    const QFontMetricsF m(probe);
    const double h = m.ascent() + m.descent();
    if (h <= 0) return cell;
    return std::max(1, static_cast<int>(std::lround(cell * 100.0 / h)));
}

void KeepAlive(void* info) {
    delete static_cast<std::shared_ptr<const vcl_internal::TImageData>*>(info);
}

} // namespace

void EnsureGuiApplication() {
    vcl_internal::EnsureGuiApplication();
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

namespace {

QFont MakeQFont(const LOGFONT& log) {
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, log.lfFaceName, LF_FACESIZE);
    const bool fixed = (log.lfPitchAndFamily & 3) == FIXED_PITCH;
    QStringList families{
        QString::fromStdString(MapFontFamily(face[0] ? face : "MS Sans Serif", log.lfCharSet, fixed))};
    for (const std::string& fallback : FallbackFontFamilies(log.lfCharSet))
        families << QString::fromStdString(fallback);
    QFont font(families.first());
    font.setFamilies(families);
    const LONG weight = log.lfWeight <= 0 ? FW_NORMAL : std::clamp<LONG>(log.lfWeight, 100, 900);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(log.lfItalic != 0);
    font.setUnderline(log.lfUnderline != 0);
    font.setStrikeOut(log.lfStrikeOut != 0);
    font.setKerning(false);
    font.setStyleStrategy(log.lfQuality == NONANTIALIASED_QUALITY ? QFont::NoAntialias
                                                                  : QFont::PreferAntialias);
    int em = DefaultEmPixels;
    if (log.lfHeight < 0)
        em = log.lfHeight == INT32_MIN ? 1 : -log.lfHeight;
    else if (log.lfHeight > 0)
        em = EmFromCell(font, log.lfHeight);
    font.setPixelSize(std::clamp(em, 1, 4096));
    return font;
}

} // namespace

QFont ToQFont(const LOGFONT& log) {
    // Controls ask for the same few fonts many times over: each is made once.
    struct TMade {
        LOGFONT Log;
        QFont Font;
    };
    // Kept to the end of the program: fonts must not outlive the application at exit.
    static auto* made = new std::vector<TMade>;
    static std::mutex lock;
    {
        std::lock_guard<std::mutex> hold(lock);
        for (const TMade& m : *made)
            if (std::memcmp(&m.Log, &log, sizeof log) == 0) return m.Font;
    }
    QFont font = MakeQFont(log);
    std::lock_guard<std::mutex> hold(lock);
    if (made->size() >= 64) made->erase(made->begin());
    made->push_back({log, font});
    return font;
}

TPaintCanvasBinding::TPaintCanvasBinding(TCanvas& canvas, QPainter& painter, QSize size)
    : canvas_(canvas), dc_(CreatePainterDC(&painter, size)) {
    canvas_.SetHandle(dc_);
}

TPaintCanvasBinding::~TPaintCanvasBinding() {
    canvas_.SetHandle(nullptr);
    DeleteDC(dc_);
}

QImage ToQImage(const TGraphic& graphic, bool withAlpha) {
    return ToQImage(graphic.ImageData(), withAlpha);
}

QImage ToQImage(std::shared_ptr<const vcl_internal::TImageData> pixels, bool withAlpha) {
    if (!pixels || pixels->Count() == 0) return QImage();
    const auto* bits = reinterpret_cast<const uchar*>(pixels->Pixels.get());
    const int w = pixels->Width, h = pixels->Height;
    auto keep = std::make_unique<std::shared_ptr<const vcl_internal::TImageData>>(std::move(pixels));
    QImage image(bits, w, h, static_cast<qsizetype>(w) * 4,
                 withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32, KeepAlive, keep.get());
    // A null image never calls KeepAlive.
    if (!image.isNull()) keep.release();
    return image;
}

void AssignQImage(TBitmap& bitmap, const QImage& image) {
    if (image.isNull()) {
        bitmap.FreeImage();
        return;
    }
    const bool alpha = image.hasAlphaChannel();
    const QImage src = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    auto data = vcl_internal::TImageData::Create(src.width(), src.height(), false);
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(data->Row(y), src.constScanLine(y), static_cast<std::size_t>(src.width()) * 4);
    bitmap.SetImageData(std::move(data), alpha ? pf32bit : pf24bit);
}

} // namespace vcl_qt
