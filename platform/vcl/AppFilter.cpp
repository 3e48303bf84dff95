// The application-wide routing of input: the last mouse position, mouse capture by controls, forms
// that take no input (disabled, or behind a modal form) and window moves by dragging.
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/FormsInternal.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

namespace vcl_internal {

namespace {

TPoint gLastMouse;
Qt::KeyboardModifiers gLastModifiers;
TForm* gMovingForm = nullptr;
TPoint gMoveAnchor;
TPoint gMoveOrigin;

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
            const QPoint global = mouse->globalPosition().toPoint();
            gLastMouse = Point(global.x(), global.y());
            if (gMovingForm) return HandleMove(type, mouse);
        }
        TForm* form = FormOfWidget(widget);
        if (form && form->InputBlocked()) return true;
        if (IsMouseEvent(type) && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
            return RedirectToCapture(widget, static_cast<QMouseEvent*>(event));
        return false;
    }

private:
    static bool HandleMove(QEvent::Type type, QMouseEvent* mouse) {
        if (type == QEvent::MouseMove) {
            TForm* form = gMovingForm;
            const int dx = gMoveOrigin.X + (gLastMouse.X - gMoveAnchor.X) - form->Left();
            const int dy = gMoveOrigin.Y + (gLastMouse.Y - gMoveAnchor.Y) - form->Top();
            Guarded([&] { form->MoveBy(dx, dy); });
        } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            gMovingForm->EndMoving();
        }
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

void BeginFormMove(TForm* form, TPoint anchor) {
    gMovingForm = form;
    gMoveAnchor = anchor;
    gMoveOrigin = Point(form->Left(), form->Top());
}

void EndFormMove(TForm* form) {
    if (gMovingForm == form) gMovingForm = nullptr;
}

void ControlDestroying(TControl* control) {
    if (control == gMovingForm) {
        gMovingForm->EndMoving();
        gMovingForm = nullptr;
    }
}

} // namespace vcl_internal
