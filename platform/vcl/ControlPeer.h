// Platform-internal: the widgets behind controls.
//
// Every control has an outer widget (TPeerWidget) that carries its bounds, visibility, stacking and
// mouse events. Standard controls put a Qt widget of their kind (the inner widget) over its whole
// area; painted controls keep a picture that their canvas draws into and that the outer widget shows,
// or, on TPaintSurface::Screen, have their canvas draw on the outer widget in its paint.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/QtSupport.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>

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

// A canvas that draws into a control's picture, or on the screen in the control's paint.
class TBufferCanvas : public TCanvas {
public:
    explicit TBufferCanvas(TControlPeer* peer) : peer_(peer) {}
    ~TBufferCanvas() override;
    void Release();

protected:
    void CreateHandle() override;
    void PrepareHandle() override;

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
    // The control's picture, at the size last asked for (a new size keeps the old pixels).
    QImage& Buffer();
    // The picture at that size, all of one colour.
    void FillBuffer(QRgb colour);
    void ResizeBuffer(int width, int height);
    void RequestPaint();
    void ScheduleBlit();
    // Runs the paint cycle now (WM_PAINT through the control's messages) when it is due.
    void PaintIfNeeded();
    // Runs the paint cycle on the screen (TPaintSurface::Screen), in the widget's paint.
    void PaintOn(QPainter& painter);
    bool TransparentPaint() const { return transparent_; }
    void SetSurface(TPaintSurface surface);
    TPaintSurface Surface() const { return surface_; }
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
    std::unique_ptr<TBufferCanvas> canvas_;
    QImage buffer_; // made at its first use; none on the screen surface
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    bool transparent_ = false;
    TPaintSurface surface_ = TPaintSurface::Picture;
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
