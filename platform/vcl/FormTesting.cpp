#include "platform/vcl/FormTesting.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/EditWidget.h"
#include "platform/vcl/FormsInternal.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <chrono>
#include <thread>

namespace vcl_internal {
void ResetApplicationObjects();
}

namespace form_testing {

using vcl_internal::ToQString;

// ---- pictures ----

TColor TSnapshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height)
        throw ERangeError(Format("Pixel (%d, %d) outside the picture", x, y));
    const std::uint32_t p =
        Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
    return static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}

namespace {

QImage Render(TForm* form) {
    QWidget* w = form->Peer()->widget;
    form->ApplyWaitingFonts(); // a form drawn without ever being shown
    w->ensurePolished();
    const TRect client = form->ClientRect();
    const TPoint origin = form->ClientOrigin();
    QImage picture(std::max(form->Width(), 1), std::max(form->Height(), 1), QImage::Format_ARGB32);
    picture.fill(vcl_internal::ToQColor(clBtnShadow));
    QPainter painter(&picture);
    const int dx = origin.X - form->Left();
    const int dy = origin.Y - form->Top();
    if (form->BorderStyle() != bsNone) {
        // A plain title bar: the frame is the window manager's, not the form's.
        painter.fillRect(QRect(dx, dx, form->Width() - 2 * dx, dy - dx), QColor(0x0A, 0x24, 0x6A));
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(dy - dx - 6, 8));
        painter.setFont(font);
        painter.drawText(QRect(dx + 4, dx, form->Width() - 2 * dx - 8, dy - dx),
                         Qt::AlignVCenter | Qt::AlignLeft, ToQString(form->Caption()));
    }
    w->render(&painter, QPoint(dx, dy), QRegion(0, 0, client.Width(), client.Height()),
              QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return picture;
}

TSnapshot ToSnapshot(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    TSnapshot s;
    s.Width = image.width();
    s.Height = image.height();
    s.Pixels.resize(static_cast<std::size_t>(s.Width) * static_cast<std::size_t>(s.Height));
    for (int y = 0; y < s.Height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::copy(row, row + s.Width, s.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * s.Width);
    }
    return s;
}

} // namespace

TSnapshot TakeSnapshot(TForm* form) {
    ProcessEvents();
    return ToSnapshot(Render(form));
}

TSnapshot TakeScreenPicture(TForm* form) {
    ProcessEvents();
    QWidget* w = form->Peer()->widget;
    QScreen* screen = w->screen();
    if (!w->isVisible() || !screen) throw EInvalidOperation("The form is not shown");
    const QImage image = screen->grabWindow(w->winId()).toImage();
    if (image.isNull()) throw EInvalidOperation("The form is not shown");
    return ToSnapshot(image);
}

int PaintEvents(TControl* control) {
    return control->Peer()->paintEvents;
}

void SaveFormSnapshot(TForm* form, const std::string& pngFile) {
    ProcessEvents();
    if (!Render(form).save(ToQString(pngFile), "PNG"))
        throw EWriteError(Format("Cannot write the picture \"%s\"", pngFile.c_str()));
}

// ---- finding ----

namespace {

TComponent* FindDeep(TComponent* owner, const std::string& name) {
    if (TComponent* c = owner->FindComponent(name)) return c;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (TComponent* c = FindDeep(owner->Components(i), name)) return c;
    return nullptr;
}

} // namespace

TControl* FindControlByName(TForm* form, const std::string& name) {
    auto* control = dynamic_cast<TControl*>(FindDeep(form, name));
    if (!control)
        throw EComponentError(Format("%s has no control named %s", form->Name().c_str(), name.c_str()));
    return control;
}

// ---- input ----

namespace {

QPointer<QWidget> gPressed; // the widget that has the implicit grab while a button is down
QPointer<QWidget> gHovered;
Qt::MouseButtons gButtons;

QPoint GlobalOf(TControl* control, TPoint point) {
    const TPoint screen = control->ClientToScreen(point);
    return QPoint(screen.X, screen.Y);
}

QWidget* WidgetAt(TControl* control, QPoint global) {
    TForm* form = control->ParentForm();
    QWidget* top = form ? form->Peer()->widget : control->Peer()->widget;
    QWidget* w = top->childAt(top->mapFromGlobal(global));
    return w ? w : top;
}

Qt::MouseButton QtButton(TMouseButton button) {
    switch (button) {
    case mbRight:
        return Qt::RightButton;
    case mbMiddle:
        return Qt::MiddleButton;
    default:
        return Qt::LeftButton;
    }
}

Qt::KeyboardModifiers QtModifiers(TShiftState shift) {
    Qt::KeyboardModifiers m;
    if (shift.Contains(ssShift)) m |= Qt::ShiftModifier;
    if (shift.Contains(ssCtrl)) m |= Qt::ControlModifier;
    if (shift.Contains(ssAlt)) m |= Qt::AltModifier;
    return m;
}

std::vector<QWidget*> Chain(QWidget* w) {
    std::vector<QWidget*> chain;
    for (; w; w = w->parentWidget())
        chain.push_back(w);
    return chain;
}

void UpdateHover(QWidget* now, QPoint global) {
    if (now == gHovered.data()) return;
    const std::vector<QWidget*> before = Chain(gHovered.data());
    const std::vector<QWidget*> after = Chain(now);
    auto contains = [](const std::vector<QWidget*>& v, QWidget* w) {
        return std::find(v.begin(), v.end(), w) != v.end();
    };
    gHovered = now;
    for (QWidget* w : before)
        if (!contains(after, w)) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(w, &leave);
        }
    for (auto it = after.rbegin(); it != after.rend(); ++it)
        if (!contains(before, *it)) {
            const QPointF local = (*it)->mapFromGlobal(QPointF(global));
            QEnterEvent enter(local, local, QPointF(global));
            QApplication::sendEvent(*it, &enter);
        }
}

// Queued: taken by whatever loop pumps next (a loop that a handler of the previous event runs, say).
void PostMouse(QEvent::Type type, QWidget* target, QPoint global, Qt::MouseButton button,
               Qt::KeyboardModifiers mods) {
    const QPointF local = target->mapFromGlobal(QPointF(global));
    QCoreApplication::postEvent(target,
                                new QMouseEvent(type, local, local, QPointF(global), button, gButtons, mods));
}

// Delivered at once, as the window system delivers input: a handler that pumps messages sees what
// was queued before.
void SendMouse(QEvent::Type type, QWidget* target, QPoint global, Qt::MouseButton button,
               Qt::KeyboardModifiers mods) {
    const QPointF local = target->mapFromGlobal(QPointF(global));
    QMouseEvent event(type, local, local, QPointF(global), button, gButtons, mods);
    QApplication::sendEvent(target, &event);
}

} // namespace

TPoint Centre(TControl* control) {
    return Point(control->ClientWidth() / 2, control->ClientHeight() / 2);
}

void MouseMove(TControl* control, TPoint point, TShiftState buttons) {
    const QPoint global = GlobalOf(control, point);
    QWidget* under = WidgetAt(control, global);
    if (!gPressed) UpdateHover(under, global);
    gButtons = Qt::NoButton;
    if (buttons.Contains(ssLeft)) gButtons |= Qt::LeftButton;
    if (buttons.Contains(ssRight)) gButtons |= Qt::RightButton;
    SendMouse(QEvent::MouseMove, gPressed ? gPressed.data() : under, global, Qt::NoButton,
              QtModifiers(buttons));
    ProcessEvents();
}

void MouseDown(TControl* control, TMouseButton button, TPoint point, TShiftState shift) {
    const QPoint global = GlobalOf(control, point);
    QWidget* under = WidgetAt(control, global);
    UpdateHover(under, global);
    gButtons |= QtButton(button);
    gPressed = under;
    QPointer<QWidget> guard(under);
    SendMouse(shift.Contains(ssDouble) ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, under,
              global, QtButton(button), QtModifiers(shift));
    // The desktop asks for a context menu when the right button goes down.
    if (button == mbRight && guard) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, guard->mapFromGlobal(global), global,
                               QtModifiers(shift));
        QApplication::sendEvent(guard.data(), &menu);
    }
    ProcessEvents();
}

void MouseUp(TControl* control, TMouseButton button, TPoint point, TShiftState shift) {
    const QPoint global = GlobalOf(control, point);
    QWidget* target = gPressed ? gPressed.data() : WidgetAt(control, global);
    gButtons &= ~QtButton(button);
    if (gButtons == Qt::NoButton) gPressed = nullptr;
    SendMouse(QEvent::MouseButtonRelease, target, global, QtButton(button), QtModifiers(shift));
    ProcessEvents();
}

void MouseWheel(TControl* control, TPoint point, int delta, TShiftState shift) {
    const QPoint global = GlobalOf(control, point);
    QWidget* under = WidgetAt(control, global);
    const QPointF local = under->mapFromGlobal(QPointF(global));
    QWheelEvent event(local, QPointF(global), QPoint(), QPoint(0, delta), gButtons, QtModifiers(shift),
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(under, &event);
    ProcessEvents();
}

void Click(TControl* control, TPoint point, TMouseButton button) {
    MouseMove(control, point);
    MouseDown(control, button, point);
    MouseUp(control, button, point);
}

void Click(TControl* control) {
    Click(control, Centre(control));
}

void Click(TForm* form, const std::string& controlName) {
    Click(FindControlByName(form, controlName));
}

void DoubleClick(TControl* control) {
    const TPoint c = Centre(control);
    Click(control, c);
    MouseDown(control, mbLeft, c, TShiftState(ssDouble));
    MouseUp(control, mbLeft, c);
}

void Drag(TControl* control, TPoint from, TPoint to, int steps) {
    steps = std::max(steps, 1);
    MouseMove(control, from);
    // The moves and the release are queued first and the press delivered after them: a press handler
    // that runs a loop of its own (a window move) takes the rest of the drag from the queue. Points are
    // taken on the screen as they were at the press, as a hand holding the mouse would.
    const TPoint start = control->ClientToScreen(from);
    const TPoint end = control->ClientToScreen(to);
    const QPoint pressAt(start.X, start.Y);
    QWidget* pressed = WidgetAt(control, pressAt);
    UpdateHover(pressed, pressAt);
    gButtons = Qt::LeftButton;
    for (int i = 1; i <= steps; ++i) {
        const QPoint global(start.X + (end.X - start.X) * i / steps, start.Y + (end.Y - start.Y) * i / steps);
        PostMouse(QEvent::MouseMove, pressed, global, Qt::NoButton, Qt::NoModifier);
    }
    gButtons = Qt::NoButton;
    PostMouse(QEvent::MouseButtonRelease, pressed, QPoint(end.X, end.Y), Qt::LeftButton, Qt::NoModifier);
    gButtons = Qt::LeftButton;
    QPointer<QWidget> guard(pressed);
    SendMouse(QEvent::MouseButtonPress, pressed, pressAt, Qt::LeftButton, Qt::NoModifier);
    gButtons = Qt::NoButton;
    gPressed = nullptr;
    ProcessEvents();
}

namespace {

int QtKeyOf(WORD vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
    if (vk >= VK_F1 && vk <= VK_F24) return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_SHIFT:
        return Qt::Key_Shift;
    case VK_CONTROL:
        return Qt::Key_Control;
    case VK_MENU:
        return Qt::Key_Alt;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_PRIOR:
        return Qt::Key_PageUp;
    case VK_NEXT:
        return Qt::Key_PageDown;
    case VK_END:
        return Qt::Key_End;
    case VK_HOME:
        return Qt::Key_Home;
    case VK_LEFT:
        return Qt::Key_Left;
    case VK_UP:
        return Qt::Key_Up;
    case VK_RIGHT:
        return Qt::Key_Right;
    case VK_DOWN:
        return Qt::Key_Down;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_DELETE:
        return Qt::Key_Delete;
    case VK_OEM_PERIOD:
        return Qt::Key_Period;
    case VK_OEM_COMMA:
        return Qt::Key_Comma;
    case VK_OEM_MINUS:
        return Qt::Key_Minus;
    default:
        return Qt::Key_unknown;
    }
}

QWidget* KeyTarget(TControl* control) {
    if (auto* form = dynamic_cast<TForm*>(control)) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() == form->Peer()->widget) return focus;
        if (TWinControl* active = form->ActiveControl()) return active->Peer()->FocusWidget();
        return form->Peer()->widget;
    }
    return control->Peer()->FocusWidget();
}

} // namespace

void PressKey(TControl* control, WORD virtualKey, TShiftState shift, const std::string& text) {
    QWidget* target = KeyTarget(control);
    const int key = QtKeyOf(virtualKey);
    const QString qtext = ToQString(text);
    QPointer<QWidget> guard(target);
    QKeyEvent press(QEvent::KeyPress, key, QtModifiers(shift), qtext);
    QApplication::sendEvent(target, &press);
    ProcessEvents();
    if (!guard) return;
    QKeyEvent release(QEvent::KeyRelease, key, QtModifiers(shift), qtext);
    QApplication::sendEvent(guard.data(), &release);
    ProcessEvents();
}

void TypeText(TControl* control, const std::string& text) {
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->CanFocus())
        windowed->SetFocus();
    for (const char c : text) {
        WORD vk = 0;
        if (c >= 'a' && c <= 'z')
            vk = static_cast<WORD>(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            vk = static_cast<WORD>(c);
        else if (c == ' ')
            vk = VK_SPACE;
        else if (c == '.')
            vk = VK_OEM_PERIOD;
        else if (c == '\r')
            vk = VK_RETURN;
        else if (c == '\b')
            vk = VK_BACK;
        const TShiftState shift = (c >= 'A' && c <= 'Z') ? TShiftState(ssShift) : TShiftState();
        PressKey(control, vk, shift, std::string(1, c));
    }
}

namespace {

// The menu's Paste once the menu is up (looked for again while it is not); the menu goes in any case.
void TakePasteOfTheMenu(int tries) {
    RunLater([tries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            if (tries > 0) TakePasteOfTheMenu(tries - 1);
            return;
        }
        for (QAction* action : menu->actions())
            if (action->objectName() == vcl_internal::TEditWidget::kPasteActionName) action->trigger();
        menu->close();
    });
}

} // namespace

void PasteText(TControl* edit, TPasteRoad road, const std::string& text) {
    QGuiApplication::clipboard()->setText(ToQString(text));
    if (auto* windowed = dynamic_cast<TWinControl*>(edit); windowed && windowed->CanFocus())
        windowed->SetFocus();
    switch (road) {
    case TPasteRoad::CtrlV:
        PressKey(edit, 'V', TShiftState{ssCtrl}, "\x16");
        return;
    case TPasteRoad::ShiftInsert:
        PressKey(edit, VK_INSERT, TShiftState{ssShift});
        return;
    case TPasteRoad::ContextMenu:
        TakePasteOfTheMenu(200);
        Click(edit, Centre(edit), mbRight);
        return;
    }
}

// ---- loop ----

void ProcessEvents() {
    for (int i = 0; i < 3; ++i)
        Application->ProcessMessages();
}

void RunLater(std::function<void()> code) {
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [code = std::move(code)] { vcl_internal::Guarded(code); });
}

void RequestWindowClose(TForm* form) {
    form->Peer()->widget->close();
}

void EndDesktopSession() {
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
}

bool WaitUntil(const std::function<bool()>& condition, int milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (true) {
        Application->ProcessMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// ---- answers ----

ScopedModalAnswer::ScopedModalAnswer(TModalHook answer) {
    previous_ = SetModalHook([this, answer](TForm& form) {
        captions_.push_back(form.Caption());
        return answer ? answer(form) : int(mrCancel);
    });
}

ScopedModalAnswer::~ScopedModalAnswer() {
    SetModalHook(std::move(previous_));
}

ScopedMessageAnswer::ScopedMessageAnswer(int result) : result_(result) {
    previous_ = SetModalHook([this](TForm& form) -> int {
        auto* box = dynamic_cast<TMessageForm*>(&form);
        if (!box) return mrCancel;
        asked_.push_back(TAskedBox{form.Caption(), box->MessageText(), box->DialogType(), box->Buttons(),
                                   form.BoundsRect()});
        return result_;
    });
}

ScopedMessageAnswer::~ScopedMessageAnswer() {
    SetModalHook(std::move(previous_));
}

ScopedFileAnswer::ScopedFileAnswer(std::string fileName) : fileName_(std::move(fileName)) {
    previous_ = SetFileDialogHook([this](const TFileDialogRequest& request, std::string& chosen) {
        asked_.push_back(request);
        chosen = fileName_;
        return !fileName_.empty();
    });
}

ScopedFileAnswer::~ScopedFileAnswer() {
    SetFileDialogHook(std::move(previous_));
}

ScopedFolderAnswer::ScopedFolderAnswer(std::string folder) : folder_(std::move(folder)) {
    previous_ = SetFolderDialogHook([this](const TFolderDialogRequest& request, std::string& chosen) {
        asked_.push_back(request);
        chosen = folder_;
        return !folder_.empty();
    });
}

ScopedFolderAnswer::~ScopedFolderAnswer() {
    SetFolderDialogHook(std::move(previous_));
}

void ResetApplication() {
    gPressed = nullptr;
    gHovered = nullptr;
    gButtons = Qt::NoButton;
    vcl_internal::ResetApplicationObjects();
}

} // namespace form_testing
