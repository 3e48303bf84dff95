// Platform-internal bridge between the graphics classes and Qt. Only code inside platform/ includes
// this header; nothing outside platform/ needs it to use the graphics API.
#pragma once

#include "platform/vcl/Graphics.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>

#include <memory>

namespace vcl_qt {

// Fonts and painting need a Qt GUI application object. Creates a QApplication when there is no Qt
// application yet (on the offscreen platform when no display is set); raises EInvalidOperation when a
// non-GUI QCoreApplication exists already. Cheap after the first call.
void EnsureGuiApplication();

QColor ToQColor(TColor color);
QFont ToQFont(const LOGFONT& font);

// A context that draws through `painter`, whose device is `size` pixels; the painter stays the
// caller's. Delete it (DeleteDC) before the painter ends.
HDC CreatePainterDC(QPainter* painter, QSize size);

// Binds a canvas to a paint in progress for the lifetime of the binding: the way a control gives its
// Canvas to Paint. The canvas has no handle afterwards.
class TPaintCanvasBinding {
public:
    TPaintCanvasBinding(TCanvas& canvas, QPainter& painter, QSize size);
    ~TPaintCanvasBinding();
    TPaintCanvasBinding(const TPaintCanvasBinding&) = delete;
    TPaintCanvasBinding& operator=(const TPaintCanvasBinding&) = delete;

private:
    TCanvas& canvas_;
    HDC dc_;
};

// A view of a graphic's pixels without a copy (Format_RGB32, or Format_ARGB32 when `withAlpha`);
// valid while the returned image lives, which keeps the pixels alive. Null for an empty graphic.
QImage ToQImage(const TGraphic& graphic, bool withAlpha = false);
// The same for pixels themselves.
QImage ToQImage(std::shared_ptr<const vcl_internal::TImageData> pixels, bool withAlpha);

// Replaces the bitmap's pixels with a copy of `image` (any format); PixelFormat becomes pf32bit when
// the image has alpha, else pf24bit.
void AssignQImage(TBitmap& bitmap, const QImage& image);

} // namespace vcl_qt
