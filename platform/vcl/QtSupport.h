// Platform-internal: what the forms layer shares about Qt. Never included outside platform/.
#pragma once

#include "platform/vcl/Events.h"
#include "platform/vcl/Graphics.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <string>

class QApplication;
class QWidget;
class TControl;
class TForm;

namespace vcl_internal {

// The one QApplication of the process, created on first use. Raises EInvalidOperation when a plain
// QCoreApplication already exists (something touched Qt before the forms layer).
void EnsureGuiApplication();
// The program's icon on its windows and its desktop entry's name (ProgramIcon.cpp).
void ApplyProgramIdentity(QApplication& app);
// True under Qt's offscreen platform (tests): nothing may wait for a person there.
bool IsOffscreen();

// Runs code called from Qt; an exception goes to the application's handler instead of unwinding
// through Qt.
void Guarded(const std::function<void()>& code);

inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}
inline std::string FromQString(const QString& text) {
    return text.toUtf8().toStdString();
}

QColor ToQColor(TColor color);
QFont ToQFont(TFont& font);

// A cursor of the class library (crHandPoint, ...) as a Qt shape.
Qt::CursorShape QtCursorShape(int cursor);

// The keyboard modifiers of the input event handled last (real or made by a test).
Qt::KeyboardModifiers LastInputModifiers();

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The virtual-key code of a Qt key event's key; 0 for keys without one.
WORD VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

// The control a widget shows, or nullptr (walks up to the control's outer widget).
TControl* ControlOfWidget(const QWidget* widget);
TForm* FormOfWidget(const QWidget* widget);

} // namespace vcl_internal
