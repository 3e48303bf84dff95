// The application-wide routing of input: the last mouse position, mouse capture by controls, forms
// that take no input (disabled, but for the controls they keep live, or behind a modal form) and
// window moves by dragging.
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/FormsInternal.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

namespace vcl_internal {

namespace {

TPoint gLastMouse;
Qt::KeyboardModifiers gLastModifiers;
bool gLeftHeld = false;

// The form whose window follows the mouse, how, and from where.
struct TDrag {
    TForm* Form = nullptr;
    TFormDrag Kind = TFormDrag::None;
    TPoint Anchor;
    TRect Origin;
} gDrag;

// A window sized by hand keeps at least this much of itself.
constexpr int MinTrackSize = 32;

void FollowMouse() {
    TForm* form = gDrag.Form;
    const int dx = gLastMouse.X - gDrag.Anchor.X, dy = gLastMouse.Y - gDrag.Anchor.Y;
    const TRect& o = gDrag.Origin;
    Guarded([&] {
        if (gDrag.Kind == TFormDrag::Move)
            form->MoveBy(o.Left + dx - form->Left(), o.Top + dy - form->Top());
        else
            form->SetBounds(o.Left, o.Top, std::max(o.Width() + dx, MinTrackSize),
                            std::max(o.Height() + dy, MinTrackSize));
    });
}

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::Enter:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

bool IsMouseEvent(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

class ApplicationFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (!IsInputEvent(type)) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease || IsMouseEvent(type))
            gLastModifiers = static_cast<QInputEvent*>(event)->modifiers();
        if (IsMouseEvent(type)) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A release happens where the last move left the mouse; the screen position of a release
            // queued behind moves (a drag made by a test) may be another event's.
            if (type != QEvent::MouseButtonRelease) {
                const QPoint global = mouse->globalPosition().toPoint();
                gLastMouse = Point(global.x(), global.y());
            }
            gLeftHeld = (mouse->buttons() & Qt::LeftButton) != 0;
            if (gDrag.Form) return HandleDrag(type, mouse);
        }
        TForm* form = FormOfWidget(widget);
        if (form && !form->TakesInput(ControlOfWidget(widget))) return true;
        if (IsMouseEvent(type) && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
            return RedirectToCapture(widget, static_cast<QMouseEvent*>(event));
        return false;
    }

private:
    static bool HandleDrag(QEvent::Type type, QMouseEvent* mouse) {
        if (type == QEvent::MouseMove)
            FollowMouse();
        else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
            gDrag.Form->EndDrag();
        return true;
    }

    // Mouse events of a captured control go to it wherever the mouse is.
    static bool RedirectToCapture(QWidget* widget, QMouseEvent* mouse) {
        TControl* capture = GetCaptureControl();
        if (!capture || !capture->Peer() || ControlOfWidget(widget) == capture) return false;
        QWidget* target = capture->Peer()->widget;
        const QPointF global = mouse->globalPosition();
        const QPointF local = target->mapFromGlobal(global);
        QMouseEvent copy(mouse->type(), local, global, mouse->button(), mouse->buttons(), mouse->modifiers());
        QApplication::sendEvent(target, &copy);
        return true;
    }
};

} // namespace

void InstallApplicationFilter() {
    static ApplicationFilter* filter = nullptr;
    if (filter) return;
    filter = new ApplicationFilter();
    QCoreApplication::instance()->installEventFilter(filter);
}

TPoint LastMouseScreenPos() {
    return gLastMouse;
}

Qt::KeyboardModifiers LastInputModifiers() {
    return gLastModifiers;
}

void BeginFormDrag(TForm* form, TFormDrag kind, TPoint anchor) {
    gDrag = TDrag{form, kind, anchor, form->BoundsRect()};
    // Where the mouse went since the press (in messages handled before the drag began) counts too.
    FollowMouse();
}

void EndFormDrag(TForm* form) {
    if (gDrag.Form == form) gDrag = TDrag{};
}

bool LeftButtonHeld() {
    return gLeftHeld;
}

void ControlDestroying(TControl* control) {
    if (control == gDrag.Form) {
        gDrag.Form->EndDrag();
        gDrag = TDrag{};
    }
}

} // namespace vcl_internal
