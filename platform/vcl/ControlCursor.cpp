#include "platform/vcl/ControlCursor.h"

#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/QtSupport.h"

#include <QWidget>

void ShowControlCursor(TControl* control, TCursor cursor) {
    QWidget* widget = control->Peer()->widget;
    if (!widget) return;
    if (cursor == crDefault) cursor = control->Cursor();
    if (cursor == crDefault) {
        widget->unsetCursor();
        return;
    }
    const Qt::CursorShape shape = vcl_internal::QtCursorShape(cursor);
    // Called on every mouse move: the window system hears of a change only.
    if (!widget->testAttribute(Qt::WA_SetCursor) || widget->cursor().shape() != shape)
        widget->setCursor(shape);
}

TCursor ShownCursor(const TControl* control) {
    const QWidget* widget = control->Peer()->widget;
    if (!widget || !widget->testAttribute(Qt::WA_SetCursor)) return crDefault;
    for (TCursor c = crNone; c >= crSizeAll; --c)
        if (vcl_internal::QtCursorShape(c) == widget->cursor().shape()) return c;
    return crDefault;
}
