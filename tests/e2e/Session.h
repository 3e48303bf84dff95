// One road's world: a private X server, the simulated recorder on a port of its own and the real
// client binary, with a work folder for the client's home, the recorder's store and the pictures.
// The road drives the client only as a user does: the X server's pointer and keyboard.
#pragma once

#include "tests/e2e/FormLayout.h"
#include "tests/e2e/RootPicture.h"
#include "tests/e2e/Screen.h"
#include "tests/support/Display.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct SessionOptions {
    bool recorder = true;
    std::vector<std::string> recorderArgs{}; // beyond --port 0, --store, --standard pal and --log
    int languageId = 1033;
    testing_support::EnvList clientEnv{}; // added to the client's environment
    bool control = false;                 // the recorder takes control lines (Session::Control)
    // The command that starts the client; empty: the build's client/harbek. Its environment is the one
    // above all the same.
    std::vector<std::string> client{};
};

struct Window {
    std::string id;
    Box box; // the client area on the screen
};

class Session {
public:
    explicit Session(std::string road);
    ~Session();

    // Starts the display, the recorder and the client, and waits for the main window.
    void Start(const SessionOptions& options = {});
    // Ends the client (the process is asked to stop) and starts it again on the same home folder.
    void RestartClient();
    // Waits up to `ms` for the client to end by itself; its exit status, or -1 while it runs on.
    int WaitClientEnd(int ms);
    // The client as started: its program, its environment and its process; and the X display.
    std::string ClientProgram() const { return binary_ + "/client/harbek"; }
    const testing_support::EnvList& ClientEnvironment() const { return clientEnv_; }
    pid_t ClientPid() const { return client_.Pid(); }
    std::string DisplayName() const { return x_.Display(); }

    const std::string& Work() const { return work_; }
    // The X display of the road, for input the session has no call for.
    const std::string& Display() const { return x_.Display(); }
    std::string Home() const { return work_ + "/home"; }
    std::string Store() const { return work_ + "/store"; }
    int RecorderPort() const { return port_; }
    // What the recorder received, one line per packet or upload.
    std::string RecorderLog() const;
    // A control line to the recorder ("drop", "mute", ...); the session was started with `control`.
    void Control(const std::string& line);
    // The client's debug trace so far.
    std::string Trace() const;

    // ---- windows ----
    std::optional<Window> FindWindow(const std::string& title);
    // Every shown window of this title.
    std::vector<Window> FindWindows(const std::string& title);
    Window WaitWindow(const std::string& title, int ms = 15000);
    // Waits until the keyboard's focus is in `window`, as a hand waits for a window to take its keys;
    // fails when it does not come.
    void WaitKeyboard(const Window& window, int ms = 10000);
    bool WaitGone(const std::string& title, int ms = 15000);
    std::vector<std::string> VisibleTitles();

    // ---- input ----
    void Click(int x, int y, int button = 1);
    void Click(const Window& window, int x, int y, int button = 1);
    // The left button held down for `holdMs` at the point, as a hand presses, then let go.
    void Press(int x, int y, int holdMs = 150);
    // The pointer moved to the point, no button pressed.
    void MoveMouse(int x, int y);
    // The centre of the control of the window's form definition.
    void ClickControl(const Window& window, const FormLayout& form, const std::string& control,
                      int button = 1);
    // xdotool key names: "Return", "ctrl+a", "Escape", ...
    void Key(const std::string& keys);
    void Type(const std::string& text);

    // ---- screen ----
    // The whole display now; kept in the work folder under the name, and the last one is what a
    // failing road leaves for the reader.
    Shot Take(const std::string& name);

    // ---- waiting ----
    // Polls the condition every 100 ms; false when the time ran out.
    static bool WaitFor(const std::function<bool()>& condition, int ms);
    static void Pause(int ms);

    // Leaves what went wrong, the last picture (as PNG), the client's trace and the recorder's log
    // under build/e2e-failures/<road>/ and names the folder.
    std::string KeepForReader(const std::string& failure);
    // Removes the work folder of a road that went well.
    void Discard();

private:
    void StartClient();
    std::string Run(const std::vector<std::string>& argv, int* status = nullptr);
    std::string Tool(const std::vector<std::string>& argv);
    RootPicture& Screen();

    std::string road_;
    std::string work_;
    std::string binary_;
    testing_support::XvfbServer x_;
    // Opened at the first look at the screen, closed before the server goes.
    std::unique_ptr<RootPicture> screen_;
    testing_support::ChildProcess recorder_;
    testing_support::ChildProcess client_;
    testing_support::EnvList clientEnv_;
    std::vector<std::string> clientCommand_;
    int port_ = 0;
    int control_ = -1; // the write end of the recorder's control lines
    int shots_ = 0;
    std::string lastShot_;
};

// Fails with a message naming what did not happen.
[[noreturn]] void Fail(const std::string& what);

} // namespace e2e
