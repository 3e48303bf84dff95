#include "platform/vcl/ControlPeer.h"

#include "platform/vcl/FormsInternal.h"
#include "platform/vcl/GraphicsQt.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace vcl_internal {

// ---- TBufferCanvas ----

TBufferCanvas::~TBufferCanvas() {
    Release();
}

void TBufferCanvas::Release() {
    if (!dc_) return;
    SetHandle(nullptr);
    DeleteDC(dc_);
    dc_ = nullptr;
}

void TBufferCanvas::CreateHandle() {
    if (peer_->Surface() == TPaintSurface::Screen) {
        // Outside the control's paint there is no picture to draw into: this draws nowhere, and the
        // paint it asks for (PrepareHandle) draws the control again.
        dc_ = CreateCompatibleDC(nullptr);
    } else {
        QImage& buffer = peer_->Buffer();
        if (buffer.isNull()) return;
        dc_ = CreateMemoryDC(buffer.bits(), buffer.width(), buffer.height());
    }
    if (dc_) SetHandle(dc_);
}

void TBufferCanvas::PrepareHandle() {
    peer_->ScheduleBlit();
}

// ---- TControlPeer ----

TControlPeer::TControlPeer(TControl* owner) : control(owner) {
    EnsureGuiApplication();
    widget = new TPeerWidget(this, nullptr);
    widget->setAttribute(Qt::WA_DontShowOnScreen, false);
    widget->setMouseTracking(true);
    widget->hide();
}

TControlPeer::~TControlPeer() {
    if (canvas_) canvas_->Release();
    if (widget) {
        widget->peer = nullptr;
        delete widget;
    }
}

void TControlPeer::SetInner(QWidget* w) {
    inner = w;
    w->setParent(widget);
    // The control's bounds are what shows: a button of 48 pixels is 48 high, whatever the style's
    // preferred size.
    // It fills the control, placed by hand: a layout would ask every inner widget for its preferred
    // size each time a window is shown.
    w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    w->setGeometry(widget->rect());
    if (widget->isVisible()) w->show(); // given to a control already on the screen
    w->setMouseTracking(true);
    w->installEventFilter(widget);
    // Children of the inner widget (a combo box's line edit, a list's viewport) report too.
    for (QObject* child : w->children())
        if (auto* cw = qobject_cast<QWidget*>(child)) {
            cw->setMouseTracking(true);
            cw->installEventFilter(widget);
        }
    widget->setFocusProxy(w);
}

TCanvas* TControlPeer::CreateCanvas(bool transparent) {
    transparent_ = transparent;
    canvas_ = std::make_unique<TBufferCanvas>(this);
    ResizeBuffer(control ? control->Width() : 0, control ? control->Height() : 0);
    return canvas_.get();
}

void TControlPeer::ResizeBuffer(int width, int height) {
    if (!canvas_) return;
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == bufferWidth_ && height == bufferHeight_) return;
    // The picture is made at its next use: a window loaded hidden, whose controls are sized one
    // property at a time, costs nothing until it is first painted.
    bufferWidth_ = width;
    bufferHeight_ = height;
    canvas_->Release();
    RequestPaint();
}

QImage& TControlPeer::Buffer() {
    if (buffer_.isNull() || buffer_.width() != bufferWidth_ || buffer_.height() != bufferHeight_) {
        if (canvas_) canvas_->Release();
        QImage next(bufferWidth_, bufferHeight_, QImage::Format_ARGB32);
        next.fill(0);
        if (!buffer_.isNull()) {
            QPainter p(&next);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, buffer_);
        }
        buffer_ = std::move(next);
    }
    return buffer_;
}

void TControlPeer::FillBuffer(QRgb colour) {
    if (canvas_) canvas_->Release();
    if (buffer_.isNull() || buffer_.width() != bufferWidth_ || buffer_.height() != bufferHeight_)
        buffer_ = QImage(bufferWidth_, bufferHeight_, QImage::Format_ARGB32);
    buffer_.fill(colour);
}

void TControlPeer::SetSurface(TPaintSurface surface) {
    if (surface == surface_) return;
    surface_ = surface;
    if (canvas_) canvas_->Release();
    if (surface == TPaintSurface::Screen) buffer_ = QImage();
    if (!widget) return;
    widget->setAttribute(Qt::WA_OpaquePaintEvent, surface != TPaintSurface::Picture);
    // What was under the control shows again, or is covered by the next paint.
    RequestPaint();
}

void TControlPeer::RequestPaint() {
    needsPaint_ = true;
    if (widget) widget->update();
}

void TControlPeer::ScheduleBlit() {
    if (!inPaint_ && widget) widget->update();
}

void TControlPeer::PaintIfNeeded() {
    if (!needsPaint_ || !control || !canvas_) return;
    needsPaint_ = false;
    inPaint_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{inPaint_};
    Guarded([this] { control->HandlePaint(); });
}

void TControlPeer::PaintOn(QPainter& painter) {
    if (!control || !canvas_) return;
    needsPaint_ = false;
    canvas_->Release();
    inPaint_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{inPaint_};
    vcl_qt::TPaintCanvasBinding bind(*canvas_, painter, widget->size());
    Guarded([this] { control->HandlePaint(); });
}

// ---- TPeerWidget ----

TPeerWidget::TPeerWidget(TControlPeer* owner, QWidget* parent) : QWidget(parent), peer(owner) {}

bool TPeerWidget::event(QEvent* e) {
    if (!peer || !peer->control) return QWidget::event(e);
    TPeerEventScope scope(peer);
    // Enter and leave alternate, however many times the toolkit reports the same crossing.
    switch (e->type()) {
    case QEvent::ToolTip: {
        const std::string hint = peer->control->ShortHint();
        if (peer->control->ShowsHint() && !hint.empty())
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), ToQString(hint), this);
        else
            QToolTip::hideText();
        return true;
    }
    case QEvent::Enter:
        if (!peer->hovered) {
            peer->hovered = true;
            Guarded([this] { peer->control->Perform(CM_MOUSEENTER, 0, 0); });
        }
        break;
    case QEvent::Leave:
        if (peer->hovered) {
            peer->hovered = false;
            Guarded([this] { peer->control->Perform(CM_MOUSELEAVE, 0, 0); });
        }
        break;
    case QEvent::Wheel: {
        // The control answers WM_MOUSEWHEEL with non-zero when it took the turn; otherwise the
        // toolkit passes it on to the parent, as the platform passes an unhandled wheel up.
        auto* wheel = static_cast<QWheelEvent*>(e);
        const QPoint global = wheel->globalPosition().toPoint();
        const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
        WORD keys = 0;
        if (wheel->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
        if (wheel->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
        if (wheel->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
        if (wheel->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
        if (wheel->buttons() & Qt::MiddleButton) keys |= MK_MBUTTON;
        LRESULT handled = 0;
        Guarded([&] {
            handled = peer->control->Perform(
                WM_MOUSEWHEEL, MAKELONG(keys, static_cast<WORD>(static_cast<short>(delta))),
                static_cast<LPARAM>(MAKELONG(static_cast<WORD>(global.x()), static_cast<WORD>(global.y()))));
        });
        if (handled != 0) {
            e->accept();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::event(e);
}

bool TPeerWidget::eventFilter(QObject* watched, QEvent* e) {
    if (!peer || !peer->control) return false;
    auto* source = qobject_cast<QWidget*>(watched);
    if (!source) return false;
    TPeerEventScope scope(peer);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return HandleMouse(static_cast<QMouseEvent*>(e), source);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (forwardingKey_) return false;
        return HandleKey(static_cast<QKeyEvent*>(e));
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        HandleFocus(static_cast<QFocusEvent*>(e));
        return false;
    case QEvent::ContextMenu:
        contextMenuEvent(static_cast<QContextMenuEvent*>(e));
        return e->isAccepted();
    default:
        return false;
    }
}

void TPeerWidget::paintEvent(QPaintEvent* event) {
    if (!peer || !peer->control) return;
    TPeerEventScope scope(peer);
    ++peer->paintEvents;
    if (!peer->Painted()) return;
    if (peer->Surface() == TPaintSurface::Screen) {
        QPainter p(this);
        peer->PaintOn(p);
        return;
    }
    peer->PaintIfNeeded();
    if (!peer || !peer->control) return;
    QPainter p(this);
    // Opaque pixels are a plain copy of the same memory seen as RGB, with no blending.
    const bool opaque = peer->Surface() == TPaintSurface::OpaquePicture;
    if (opaque) p.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& buffer = peer->Buffer();
    const QImage::Format format = opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32;
    // The toolkit splits the blending or converting of more than 95 rows, and the premultiplying of
    // more than 2 x 65536 pixels, over a pool of threads it wakes for that. Bands below both are drawn
    // on this thread, and only those the paint needs: the same pixels, without waiting for the pool.
    // These are the toolkit's limits of today; a test counts the pool's threads after a tall paint.
    const int width = std::max(buffer.width(), 1);
    const int band = std::clamp(131071 / width, 1, 64);
    const QRect needed = event->rect().intersected(buffer.rect());
    for (int y = needed.top(); y <= needed.bottom(); y += band) {
        const int rows = std::min(band, needed.bottom() + 1 - y);
        p.drawImage(0, y,
                    QImage(buffer.constScanLine(y), buffer.width(), rows, buffer.bytesPerLine(), format));
    }
}

bool TPeerWidget::HandleMouse(QMouseEvent* e, QWidget* source) {
    TControl* control = peer->control;
    // Mouse positions are client coordinates, inside any frame of the control's own.
    const TPoint offset = control->ClientOffset();
    const QPoint local =
        (source == this ? e->position().toPoint() : source->mapTo(this, e->position().toPoint())) -
        QPoint(offset.X, offset.Y);
    const TShiftState shift = ShiftFromQt(e->modifiers(), e->buttons());
    TMouseButton button = mbLeft;
    if (e->button() == Qt::RightButton)
        button = mbRight;
    else if (e->button() == Qt::MiddleButton)
        button = mbMiddle;
    Guarded([&] {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
            control->HandleMouseButton(true, false, button, shift, local.x(), local.y());
            break;
        case QEvent::MouseButtonDblClick:
            control->HandleMouseButton(true, true, button, shift + TShiftState(ssDouble), local.x(),
                                       local.y());
            break;
        case QEvent::MouseButtonRelease:
            control->HandleMouseButton(false, false, button, shift, local.x(), local.y());
            break;
        default:
            control->HandleMouseMove(shift, local.x(), local.y());
            break;
        }
    });
    // Standard widgets go on with their own handling of the event.
    return false;
}

void TPeerWidget::mousePressEvent(QMouseEvent* e) {
    if (peer && peer->control) {
        TPeerEventScope scope(peer);
        HandleMouse(e, this);
    }
    e->accept();
}

void TPeerWidget::mouseReleaseEvent(QMouseEvent* e) {
    mousePressEvent(e);
}
void TPeerWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    mousePressEvent(e);
}
void TPeerWidget::mouseMoveEvent(QMouseEvent* e) {
    mousePressEvent(e);
}

bool TPeerWidget::HandleKey(QKeyEvent* e) {
    auto* control = dynamic_cast<TWinControl*>(peer->control);
    if (!control) return false;
    const TShiftState shift = ShiftFromQt(e->modifiers(), Qt::NoButton);
    WORD key = VirtualKeyFromQt(e->key(), e->modifiers());
    bool swallowed = false;
    Guarded([&] {
        if (e->type() == QEvent::KeyRelease) {
            if (!e->isAutoRepeat() && key != 0) swallowed = !control->HandleKeyUp(key, shift);
            return;
        }
        if (key != 0 && !control->HandleKeyDown(key, shift)) {
            swallowed = true;
            return;
        }
        const QByteArray text = e->text().toUtf8();
        if (text.size() != 1) return;
        char c = text[0];
        if (!control->HandleKeyPress(c)) {
            swallowed = true;
            return;
        }
        if (c != text[0] && peer && peer->control) {
            // The handler typed another character: the widget gets that one instead.
            int qtKey = Qt::Key_unknown;
            if (c == '\b')
                qtKey = Qt::Key_Backspace;
            else if (c == '\r')
                qtKey = Qt::Key_Return;
            else if (c == 27)
                qtKey = Qt::Key_Escape;
            QKeyEvent replaced(QEvent::KeyPress, qtKey, e->modifiers(),
                               QString(QChar(static_cast<unsigned char>(c))));
            forwardingKey_ = true;
            QApplication::sendEvent(peer->FocusWidget(), &replaced);
            forwardingKey_ = false;
            swallowed = true;
        }
    });
    return swallowed;
}

void TPeerWidget::keyPressEvent(QKeyEvent* e) {
    if (peer && peer->control) {
        TPeerEventScope scope(peer);
        if (HandleKey(e)) return;
    }
    QWidget::keyPressEvent(e);
}

void TPeerWidget::keyReleaseEvent(QKeyEvent* e) {
    keyPressEvent(e);
}

bool TPeerWidget::HandleFocus(QFocusEvent* e) {
    auto* control = dynamic_cast<TWinControl*>(peer->control);
    // A window losing or gaining the activation moves no focus between controls.
    if (!control || e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason)
        return false;
    Guarded([&] { control->HandleFocus(e->type() == QEvent::FocusIn); });
    return false;
}

void TPeerWidget::focusInEvent(QFocusEvent* e) {
    if (peer && peer->control) {
        TPeerEventScope scope(peer);
        HandleFocus(e);
    }
    QWidget::focusInEvent(e);
}

void TPeerWidget::focusOutEvent(QFocusEvent* e) {
    focusInEvent(e);
}

void TPeerWidget::contextMenuEvent(QContextMenuEvent* e) {
    if (!peer || !peer->control) {
        e->ignore();
        return;
    }
    TPeerEventScope scope(peer);
    bool shown = false;
    Guarded([&] { shown = ShowContextMenu(peer->control, Point(e->globalPos().x(), e->globalPos().y())); });
    if (shown)
        e->accept();
    else
        e->ignore();
}

void TPeerWidget::closeEvent(QCloseEvent* e) {
    // The window manager's close button: the form decides, as with Close.
    if (peer && peer->control) {
        TPeerEventScope scope(peer);
        Guarded([this] { FormCloseRequested(peer->control); });
    }
    e->ignore();
}

void TPeerWidget::moveEvent(QMoveEvent* e) {
    if (peer && peer->control && isWindow() && !peer->settingGeometry) {
        TPeerEventScope scope(peer);
        Guarded([this] { FormGeometryChanged(peer->control); });
    }
    QWidget::moveEvent(e);
}

void TPeerWidget::resizeEvent(QResizeEvent* e) {
    if (peer && peer->inner) peer->inner->setGeometry(rect());
    if (peer && peer->control && isWindow() && !peer->settingGeometry) {
        TPeerEventScope scope(peer);
        Guarded([this] { FormGeometryChanged(peer->control); });
    }
    QWidget::resizeEvent(e);
}

void TPeerWidget::changeEvent(QEvent* e) {
    if (peer && peer->control && isWindow()) {
        TPeerEventScope scope(peer);
        if (e->type() == QEvent::ActivationChange)
            Guarded([this] { FormActivationChanged(peer->control, isActiveWindow()); });
        else if (e->type() == QEvent::WindowStateChange)
            Guarded([this] { FormWindowStateChanged(peer->control); });
    }
    QWidget::changeEvent(e);
}

} // namespace vcl_internal
