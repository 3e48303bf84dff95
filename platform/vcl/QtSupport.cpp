#include "platform/vcl/QtSupport.h"

#include "platform/core/AppPaths.h"
#include "platform/core/Exceptions.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/FormsInternal.h"
#include "platform/vcl/GraphicsQt.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/Application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QStyleFactory>

#include <cmath>
#include <exception>
#include <string>
#include <vector>

namespace vcl_internal {

namespace {

// The light scheme of the class library's system colours, so standard widgets match the skins.
void ApplyClassicPalette(QApplication& app) {
    QPalette p;
    auto c = [](TColor color) { return ToQColor(color); };
    p.setColor(QPalette::Window, c(clBtnFace));
    p.setColor(QPalette::WindowText, c(clWindowText));
    p.setColor(QPalette::Base, c(clWindow));
    p.setColor(QPalette::AlternateBase, c(clBtnFace));
    p.setColor(QPalette::Text, c(clWindowText));
    p.setColor(QPalette::Button, c(clBtnFace));
    p.setColor(QPalette::ButtonText, c(clBtnText));
    p.setColor(QPalette::Highlight, c(clHighlight));
    p.setColor(QPalette::HighlightedText, c(clHighlightText));
    p.setColor(QPalette::ToolTipBase, c(clInfoBk));
    p.setColor(QPalette::ToolTipText, c(clInfoText));
    p.setColor(QPalette::Light, c(clBtnHighlight));
    p.setColor(QPalette::Midlight, c(cl3DLight));
    p.setColor(QPalette::Mid, c(clBtnShadow));
    p.setColor(QPalette::Dark, c(clBtnShadow));
    p.setColor(QPalette::Shadow, c(cl3DDkShadow));
    p.setColor(QPalette::Disabled, QPalette::Text, c(clGrayText));
    p.setColor(QPalette::Disabled, QPalette::WindowText, c(clGrayText));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, c(clGrayText));
    app.setPalette(p);
}

} // namespace

void EnsureGuiApplication() {
    static QApplication* configured = nullptr;
    QCoreApplication* existing = QCoreApplication::instance();
    if (existing && existing == configured) return;
    if (existing && !qobject_cast<QApplication*>(existing))
        throw EInvalidOperation("The forms layer needs its application object before anything else uses Qt");
    if (!existing) {
        // The toolkit takes its own options (-platform, -style, -reverse, -display ...) from the
        // command line; the program's name stays "harbek", which names its windows' class.
        static std::vector<std::string> arguments;
        static std::vector<char*> argv;
        static int argc = 0;
        arguments = {"harbek"};
        for (int i = 1; i <= ParamCount(); ++i)
            arguments.push_back(ParamStr(i));
        argv.clear();
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        argc = static_cast<int>(arguments.size());
        // Lives to the end of the process: windows may still be torn down while the program ends.
        existing = new QApplication(argc, argv.data());
    }
    auto* app = static_cast<QApplication*>(existing);
    configured = app;
    // A style the user asked for on the command line wins.
    bool styleAsked = false;
    for (int i = 1; i <= ParamCount(); ++i) {
        const std::string argument = ParamStr(i);
        styleAsked |= argument == "-style" || argument == "--style" || argument.rfind("-style=", 0) == 0 ||
                      argument.rfind("--style=", 0) == 0;
    }
    if (!styleAsked) app->setStyle(QStyleFactory::create("Fusion"));
    ApplyClassicPalette(*app);
    app->setQuitOnLastWindowClosed(false);
    InstallApplicationFilter();
    ApplyProgramIdentity(*app);
}

bool IsOffscreen() {
    EnsureGuiApplication();
    const QString name = QGuiApplication::platformName();
    return name == "offscreen" || name == "minimal";
}

void Guarded(const std::function<void()>& code) {
    try {
        code();
    } catch (const std::exception& e) {
        CurrentApplication().HandleException(e);
    } catch (...) {
        CurrentApplication().HandleUnknownException();
    }
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

QFont ToQFont(TFont& font) {
    // The same face and size the canvas draws the font with.
    const LOGFONT log = font.LogFont();
    return vcl_qt::ToQFont(log);
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s << ssShift;
    if (modifiers & Qt::ControlModifier) s << ssCtrl;
    if (modifiers & Qt::AltModifier) s << ssAlt;
    if (buttons & Qt::LeftButton) s << ssLeft;
    if (buttons & Qt::RightButton) s << ssRight;
    if (buttons & Qt::MiddleButton) s << ssMiddle;
    return s;
}

WORD VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<WORD>((modifiers & Qt::KeypadModifier) ? VK_NUMPAD0 + (key - Qt::Key_0) : key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<WORD>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Print:
        return VK_SNAPSHOT;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Help:
        return VK_HELP;
    case Qt::Key_Menu:
        return VK_APPS;
    case Qt::Key_NumLock:
        return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
        return VK_SCROLL;
    case Qt::Key_Asterisk:
        return VK_MULTIPLY;
    case Qt::Key_Plus:
        return (modifiers & Qt::KeypadModifier) ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus:
        return (modifiers & Qt::KeypadModifier) ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Period:
        return (modifiers & Qt::KeypadModifier) ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Slash:
        return (modifiers & Qt::KeypadModifier) ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Comma:
        return VK_OEM_COMMA;
    case Qt::Key_Semicolon:
        return VK_OEM_1;
    case Qt::Key_Equal:
        return VK_OEM_PLUS;
    case Qt::Key_QuoteLeft:
        return VK_OEM_3;
    case Qt::Key_BracketLeft:
        return VK_OEM_4;
    case Qt::Key_Backslash:
        return VK_OEM_5;
    case Qt::Key_BracketRight:
        return VK_OEM_6;
    case Qt::Key_Apostrophe:
        return VK_OEM_7;
    default:
        return 0;
    }
}

TControl* ControlOfWidget(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (auto* peer = dynamic_cast<const TPeerWidget*>(w))
            return peer->peer ? peer->peer->control : nullptr;
    return nullptr;
}

TForm* FormOfWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    return dynamic_cast<TForm*>(ControlOfWidget(widget->window()));
}

} // namespace vcl_internal

#if defined(__SANITIZE_ADDRESS__)
// fontconfig leaves parts of the configuration it parses unreachable; nothing of ours to free. Every
// program that draws text would otherwise fail its leak check.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif
