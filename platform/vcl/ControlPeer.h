// Platform-internal: the widgets behind controls.
//
// Every control has an outer widget (TPeerWidget) that carries its bounds, visibility, stacking and
// mouse events. Standard controls put a Qt widget of their kind (the inner widget) over its whole
// area; painted controls keep a picture that their canvas draws into and that the outer widget shows.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/QtSupport.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

namespace vcl_internal {

class TControlPeer;

class TPeerWidget : public QWidget {
public:
    TPeerWidget(TControlPeer* peer, QWidget* parent);
    TControlPeer* peer;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TControlPeer;
    // Mouse and key events of the widget itself or of the inner widget; true when swallowed.
    bool HandleMouse(QMouseEvent* event, QWidget* source);
    bool HandleKey(QKeyEvent* event);
    bool HandleFocus(QFocusEvent* event);
    bool forwardingKey_ = false;
};

// A canvas that draws into a control's picture.
class TBufferCanvas : public TCanvas {
public:
    explicit TBufferCanvas(TControlPeer* peer) : peer_(peer) {}
    ~TBufferCanvas() override;
    void Release();

protected:
    void CreateHandle() override;
    void PrepareHandle() override;
    bool CanAdoptPixels(const TRect& rect, const TImageData& pixels) const override;
    void AdoptPixels(std::shared_ptr<const TImageData> pixels) override;
    bool CanFillWhole(const TRect& rect) const override;
    void FillWhole(COLORREF colour) override;

private:
    TControlPeer* peer_;
    HDC dc_ = nullptr;
};

class TControlPeer {
public:
    explicit TControlPeer(TControl* control);
    ~TControlPeer();
    TControlPeer(const TControlPeer&) = delete;
    TControlPeer& operator=(const TControlPeer&) = delete;

    // nullptr once the control is being destroyed.
    TControl* control;
    TPeerWidget* widget;
    QPointer<QWidget> inner;

    // Shows `w` over the whole outer widget and routes its input events to the control.
    void SetInner(QWidget* w);
    // The widget that takes the focus.
    QWidget* FocusWidget() const { return inner ? inner.data() : widget; }

    // Painted controls.
    TCanvas* CreateCanvas(bool transparent);
    TCanvas* Canvas() const { return canvas_.get(); }
    bool Painted() const { return canvas_ != nullptr; }
    // The control's picture, at the size last asked for.
    QImage& Buffer();
    // The same, for a caller about to cover every pixel: a new picture is neither cleared nor given
    // the old one's pixels.
    QImage& BufferToCover();
    void ResizeBuffer(int width, int height);
    QSize PictureSize() const { return QSize(bufferWidth_, bufferHeight_); }
    // Makes `pixels` the picture, shared until the next drawing into it copies them.
    void AdoptPicture(std::shared_ptr<const TImageData> pixels);
    // Makes the picture all of one colour, which is made into pixels when they are next needed.
    void FillPicture(QRgb colour);
    // The picture's colour while it is all of one colour.
    std::optional<QRgb> SolidColour() const;
    void RequestPaint();
    void ScheduleBlit();
    // Runs the paint cycle now (WM_PAINT through the control's messages) when it is due.
    void PaintIfNeeded();
    void ClearBuffer();
    bool TransparentPaint() const { return transparent_; }
    // Every paint covers the whole picture with opaque pixels: the picture is not cleared before a
    // paint, it is shown as it is, and the toolkit paints nothing under the control.
    void SetOpaque(bool opaque);
    bool Opaque() const { return opaque_; }
    bool InPaint() const { return inPaint_; }

    // Nesting depth of Qt events being handled by this peer; while it is not 0 the widget is not
    // deleted at once.
    int eventDepth = 0;
    // The pointer is over the control (between CM_MOUSEENTER and CM_MOUSELEAVE).
    bool hovered = false;
    // Geometry changes made by the control itself, not to be reported back.
    bool settingGeometry = false;
    // Paint events the widget has had, for tests.
    int paintEvents = 0;

private:
    friend class TPeerWidget;
    QImage& SizedBuffer(bool keepPixels);
    std::unique_ptr<TBufferCanvas> canvas_;
    QImage buffer_;
    std::optional<QRgb> solid_; // the picture is this colour over solidSize_, whatever buffer_ holds
    QSize solidSize_;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    bool transparent_ = false;
    bool opaque_ = false;
    bool needsPaint_ = true;
    bool inPaint_ = false;
};

// Keeps a peer's event depth for the duration of a Qt event.
class TPeerEventScope {
public:
    explicit TPeerEventScope(TControlPeer* peer) : peer_(peer) { ++peer_->eventDepth; }
    ~TPeerEventScope() { --peer_->eventDepth; }
    TPeerEventScope(const TPeerEventScope&) = delete;
    TPeerEventScope& operator=(const TPeerEventScope&) = delete;

private:
    TControlPeer* peer_;
};

} // namespace vcl_internal
