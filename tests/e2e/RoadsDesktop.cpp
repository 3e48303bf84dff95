// The program among the desktop's windows: secondary windows that stand for the main one, the window
// manager's close request (WM_DELETE_WINDOW, what Alt+F4 and the window list's Close send), and a
// second start on the same folder, also while the first copy does not answer and after it was killed.
#include "tests/e2e/Roads.h"

#include "tests/support/Display.h"
#include "tests/support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>

// Last: the X headers define short macros (Status, Bool, None) that other headers must not see.
#include <X11/Xlib.h>

namespace e2e {

namespace fs = std::filesystem;

namespace {

// A connection of the test's own to the road's X server, as a window manager would hold one.
class XDisplay {
public:
    explicit XDisplay(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
        if (display_ == nullptr) Fail("cannot open the display " + name);
    }
    ~XDisplay() { XCloseDisplay(display_); }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // What a window manager sends for its close button.
    void RequestClose(const std::string& window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = Id(window);
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, Id(window), False, NoEventMask, &event);
        XFlush(display_);
    }
    // The window a dialog is transient for, or 0.
    ::Window TransientFor(const std::string& window) {
        ::Window owner = 0;
        if (!XGetTransientForHint(display_, Id(window), &owner)) return 0;
        return owner;
    }
    // The window manager functions a window allows (_MOTIF_WM_HINTS), all when it says nothing.
    long MotifFunctions(const std::string& window) {
        const Atom hints = XInternAtom(display_, "_MOTIF_WM_HINTS", False);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, Id(window), hints, 0, 5, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) != Success ||
            data == nullptr || count < 2) {
            if (data) XFree(data);
            return kAllFunctions;
        }
        const auto* values = reinterpret_cast<const long*>(data);
        // The functions count only where their flag says so.
        const long functions = (values[0] & 1) ? values[1] : kAllFunctions;
        XFree(data);
        return functions;
    }
    static ::Window Id(const std::string& window) { return std::stoul(window); }

    static constexpr long kAllFunctions = 1;
    static constexpr long kMaximize = 0x10;

private:
    ::Display* display_;
};

std::string WorkingFile(Session& s) {
    fs::create_directories(s.Home() + "/Temporary");
    const std::string file = s.Home() + "/Temporary/20240101120000.fdx";
    testing_support::WriteFileBytes(file, "kept");
    return file;
}

} // namespace

void WindowManagerCloseEndsInOrder(Session& s) {
    s.Start();
    Client c(s);
    XDisplay x(s.DisplayName());
    const Window main = c.Main();

    // A secondary window stands for the main one on the desktop: no task-bar entry of its own.
    const std::string about = c.Text(59967);
    c.ClickMain("BtnAbout");
    const Window box = s.WaitWindow(about, 10000);
    s.Take("about-over-main");
    if (x.TransientFor(box.id) != XDisplay::Id(main.id))
        Fail("the About box is not transient for the main window");
    s.Key("Return");
    if (!s.WaitGone(about, 5000)) Fail("the About box stayed after Enter");

    c.Connect();
    c.LiveOn();
    const std::string working = WorkingFile(s);
    const int stops = c.Commands(113);
    x.RequestClose(main.id);
    const int status = s.WaitClientEnd(20000);
    if (status != 0)
        Fail("the window manager's close did not end the client (status " + std::to_string(status) + ")");
    if (c.Commands(113) != stops + 1) Fail("the window manager's close sent no stop of live view");
    if (fs::exists(s.Home() + "/Temporary"))
        Fail("the working folder stayed after the window manager's close");
    const std::string settings = testing_support::ReadFileBytes(s.Home() + "/setup.ini");
    if (settings.find("[setup]") == std::string::npos || settings.find("standard=PAL") == std::string::npos)
        Fail("setup.ini was not saved: " + settings);
    if (fs::exists(s.Home() + "/harbek.lock")) Fail("the lock file stayed after the end");
}

void SecondStartOnTheSameFolder(Session& s) {
    SessionOptions options;
    options.recorder = false;
    s.Start(options);
    Client c(s);
    const std::string working = WorkingFile(s);

    // The running copy answers; the second start ends at once and the first keeps its files.
    int status = testing_support::RunProgram({s.ClientProgram()}, s.ClientEnvironment(), nullptr,
                                             std::chrono::milliseconds(20000));
    if (status != 0) Fail("the second start did not end with 0 but " + std::to_string(status));
    if (!fs::exists(working)) Fail("the second start removed the first copy's working file");
    if (s.FindWindows("Harbek").size() != 1) Fail("there is not one main window after the second start");
    s.Take("after-second-start");

    // A first copy that does not answer: the second says that one runs.
    ::kill(s.ClientPid(), SIGSTOP);
    testing_support::ChildProcess third;
    third.Start({s.ClientProgram()}, s.ClientEnvironment(), s.Work() + "/third.out",
                s.Work() + "/third.trace");
    const std::string running = c.Text(60401);
    const Window box = s.WaitWindow(running, 20000);
    s.Take("first-copy-does-not-answer");
    XDisplay x(s.DisplayName());
    if (x.MotifFunctions(box.id) & XDisplay::kMaximize) Fail("the message box can be maximised");
    s.Key("Return");
    status = third.Wait(std::chrono::milliseconds(10000));
    ::kill(s.ClientPid(), SIGCONT);
    if (status != 1) Fail("the start that got no answer ended with " + std::to_string(status));
    if (!fs::exists(working)) Fail("the start that got no answer removed the first copy's working file");

    // Killed, the first copy leaves its lock; the next start takes the folder all the same.
    ::kill(s.ClientPid(), SIGKILL);
    if (s.WaitClientEnd(10000) != 128 + SIGKILL) Fail("the first copy did not die");
    if (!fs::exists(s.Home() + "/harbek.lock")) Fail("the killed copy left no lock: nothing was tried");
    testing_support::ChildProcess next;
    next.Start({s.ClientProgram()}, s.ClientEnvironment(), s.Work() + "/next.out", s.Work() + "/next.trace");
    const Window main = s.WaitWindow("Harbek", 30000);
    s.Take("started-after-a-killed-copy");
    XDisplay(s.DisplayName()).RequestClose(main.id);
    if (next.Wait(std::chrono::milliseconds(20000)) != 0) Fail("the next copy did not end by its close");
}

} // namespace e2e
