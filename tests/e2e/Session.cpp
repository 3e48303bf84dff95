#include "tests/e2e/Session.h"

#include "tests/support/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using testing_support::RunProgram;

namespace e2e {

namespace {

// What the file holds so far; empty while it does not exist yet.
std::string ReadAll(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec) ? testing_support::ReadFileBytes(path) : std::string();
}

std::string BinaryRoot() {
    const char* binary = std::getenv("HARBEK_BINARY");
    return binary ? binary : ".";
}

} // namespace

void Fail(const std::string& what) {
    throw std::runtime_error(what);
}

Session::Session(std::string road) : road_(std::move(road)), binary_(BinaryRoot()) {
    work_ = binary_ + "/e2e/" + road_;
    std::error_code ec;
    fs::remove_all(work_, ec);
    fs::remove_all(binary_ + "/e2e-failures/" + road_, ec);
    for (const char* sub : {"home", "config", "data", "cache", "runtime", "shots"})
        fs::create_directories(work_ + "/" + sub);
    fs::permissions(work_ + "/runtime", fs::perms::owner_all, fs::perm_options::replace, ec);
}

Session::~Session() {
    client_.Stop();
    recorder_.Stop();
    screen_.reset();
    x_.Stop();
    if (control_ >= 0) ::close(control_);
}

void Session::Start(const SessionOptions& options) {
    for (const char* tool : {"xdotool", "convert"})
        if (!testing_support::HaveProgram(tool))
            Fail(std::string(tool) + " is not installed (make deps installs it)");
    std::string why;
    screen_.reset();
    if (!x_.Start(1280, 1024, why)) Fail(why);

    if (options.recorder) {
        std::vector<std::string> argv{
            binary_ + "/tools/recsim/recsim", "--port", "0", "--store", Store(), "--standard", "pal", "--log",
            work_ + "/recorder.log"};
        argv.insert(argv.end(), options.recorderArgs.begin(), options.recorderArgs.end());
        std::string in;
        if (options.control) {
            // Held open for reading and writing here, the pipe never blocks the recorder's open of it nor
            // ends its lines while the session lasts.
            in = work_ + "/recorder.in";
            if (::mkfifo(in.c_str(), 0600) != 0 || (control_ = ::open(in.c_str(), O_RDWR | O_CLOEXEC)) < 0)
                Fail("no control pipe for the recorder at " + in);
            argv.push_back("--control");
        }
        recorder_.Start(argv, {}, work_ + "/recorder.out", work_ + "/recorder.err", in);
        const std::regex ports(R"(command port (\d+))");
        std::smatch m;
        // A fresh store is generated first: a few seconds.
        const bool up = WaitFor(
            [&] {
                const std::string out = ReadAll(work_ + "/recorder.out");
                return std::regex_search(out, m, ports) || !recorder_.Running();
            },
            60000);
        const std::string out = ReadAll(work_ + "/recorder.out");
        if (!up || !std::regex_search(out, m, ports))
            Fail("the simulated recorder did not start: " + ReadAll(work_ + "/recorder.err"));
        port_ = std::stoi(m[1]);
    }

    testing_support::EnvList env{"DISPLAY=" + x_.Display(),
                                 "QT_QPA_PLATFORM=xcb",
                                 "HARBEK_HOME=" + Home(),
                                 "HARBEK_REGISTRY=" + work_ + "/registry.ini",
                                 "HARBEK_TRACE=1",
                                 "HARBEK_LANGID=" + std::to_string(options.languageId),
                                 "HARBEK_PRINT_PDF=" + work_ + "/print.pdf",
                                 "HOME=" + Home(),
                                 "XDG_CONFIG_HOME=" + work_ + "/config",
                                 "XDG_DATA_HOME=" + work_ + "/data",
                                 "XDG_CACHE_HOME=" + work_ + "/cache",
                                 "XDG_RUNTIME_DIR=" + work_ + "/runtime",
                                 "DBUS_SESSION_BUS_ADDRESS=unix:path=" + work_ + "/no-bus",
                                 "NO_AT_BRIDGE=1"};
    env.insert(env.end(), options.clientEnv.begin(), options.clientEnv.end());
    clientEnv_ = env;
    clientCommand_ =
        options.client.empty() ? std::vector<std::string>{binary_ + "/client/harbek"} : options.client;
    StartClient();
}

void Session::StartClient() {
    client_.Start(clientCommand_, clientEnv_, work_ + "/client.out", work_ + "/client.trace");
    WaitWindow("Harbek", 30000);
    // The first paint.
    Pause(500);
}

void Session::RestartClient() {
    client_.Stop();
    fs::rename(work_ + "/client.trace", work_ + "/client-before-restart.trace");
    StartClient();
}

int Session::WaitClientEnd(int ms) {
    return client_.Wait(std::chrono::milliseconds(ms));
}

std::string Session::RecorderLog() const {
    return ReadAll(work_ + "/recorder.log");
}

void Session::Control(const std::string& line) {
    if (control_ < 0) Fail("the recorder was started without control lines");
    const std::string text = line + "\n";
    if (::write(control_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        Fail("the recorder's control pipe took no \"" + line + "\"");
}

std::string Session::Trace() const {
    return ReadAll(work_ + "/client.trace");
}

std::string Session::Run(const std::vector<std::string>& argv, int* status) {
    std::string output;
    const int rc = RunProgram(argv, {"DISPLAY=" + x_.Display()}, &output);
    if (status) *status = rc;
    return output;
}

std::string Session::Tool(const std::vector<std::string>& argv) {
    int status = 0;
    std::string output = Run(argv, &status);
    if (status != 0) {
        std::string line;
        for (const std::string& a : argv)
            line += a + " ";
        Fail(line + "failed: " + output);
    }
    return output;
}

// ---- windows ----

std::optional<Window> Session::FindWindow(const std::string& title) {
    std::vector<Window> all = FindWindows(title);
    if (all.empty()) return std::nullopt;
    return all.front();
}

RootPicture& Session::Screen() {
    if (!screen_) screen_ = std::make_unique<RootPicture>(x_.Display());
    return *screen_;
}

std::vector<Window> Session::FindWindows(const std::string& title) {
    std::vector<Window> found;
    for (const RootPicture::Shown& w : Screen().Windows())
        if (w.title == title && w.width > 1 && w.height > 1)
            found.push_back(Window{std::to_string(w.id), Box{w.x, w.y, w.width, w.height}});
    return found;
}

Window Session::WaitWindow(const std::string& title, int ms) {
    std::optional<Window> found;
    WaitFor([&] { return (found = FindWindow(title)).has_value(); }, ms);
    if (!found) {
        std::string seen;
        for (const std::string& t : VisibleTitles())
            seen += " \"" + t + "\"";
        Take("no-window");
        Fail("the window \"" + title + "\" did not show; showing:" + seen);
    }
    // Its first paint.
    Pause(300);
    return *found;
}

void Session::WaitKeyboard(const Window& window, int ms) {
    const unsigned long id = std::stoul(window.id);
    if (!WaitFor([&] { return Screen().HasFocus(id); }, ms)) {
        Take("no-keyboard");
        Fail("the window " + window.id + " did not take the keyboard");
    }
}

bool Session::WaitGone(const std::string& title, int ms) {
    return WaitFor([&] { return !FindWindow(title); }, ms);
}

std::vector<std::string> Session::VisibleTitles() {
    std::vector<std::string> titles;
    for (const RootPicture::Shown& w : Screen().Windows())
        titles.push_back(w.title);
    return titles;
}

// ---- input ----

void Session::Click(int x, int y, int button) {
    Tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1", "click",
          std::to_string(button)});
    Pause(150);
}

void Session::Press(int x, int y, int holdMs) {
    Tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1", "mousedown", "1",
          "sleep", std::to_string(holdMs / 1000.0), "mouseup", "1"});
    Pause(150);
}

void Session::MoveMouse(int x, int y) {
    Tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y)});
    Pause(300);
}

void Session::Click(const Window& window, int x, int y, int button) {
    Click(window.box.x + x, window.box.y + y, button);
}

void Session::ClickControl(const Window& window, const FormLayout& form, const std::string& control,
                           int button) {
    const Box b = form.Bounds(control);
    Click(window, b.x + b.w / 2, b.y + b.h / 2, button);
}

void Session::Key(const std::string& keys) {
    // Modifiers are held around the key as a hand holds them: the client's shortcuts read the
    // keyboard's state when they handle the key, not the key's own record of it.
    const auto plus = keys.rfind('+');
    if (plus == std::string::npos || plus + 1 == keys.size()) {
        Tool({"xdotool", "key", "--delay", "40", keys});
    } else {
        const std::string modifiers = keys.substr(0, plus);
        Tool({"xdotool", "keydown", modifiers, "sleep", "0.2", "key", keys.substr(plus + 1), "sleep", "0.4",
              "keyup", modifiers});
    }
    Pause(150);
}

void Session::Type(const std::string& text) {
    Tool({"xdotool", "type", "--delay", "25", text});
    Pause(100);
}

// ---- screen ----

Shot Session::Take(const std::string& name) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%03d-", ++shots_);
    const std::string file = work_ + "/shots/" + prefix + name + ".ppm";
    const std::string ppm = Screen().Ppm();
    testing_support::WriteFileBytes(file, ppm);
    lastShot_ = file;
    return Shot::FromPpm(ppm);
}

// ---- waiting ----

bool Session::WaitFor(const std::function<bool()>& condition, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        Pause(100);
    }
}

void Session::Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Session::Discard() {
    client_.Stop();
    recorder_.Stop();
    screen_.reset();
    x_.Stop();
    // HARBEK_E2E_KEEP=1 keeps every road's pictures for a look at what a user would have seen.
    const char* keep = std::getenv("HARBEK_E2E_KEEP");
    if (keep && std::string(keep) == "1") return;
    std::error_code ec;
    fs::remove_all(work_, ec);
}

std::string Session::KeepForReader(const std::string& failure) {
    const std::string folder = binary_ + "/e2e-failures/" + road_;
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    std::ofstream(folder + "/failure.txt") << failure << "\n";
    // The picture the road last looked at, and the screen as it is now: a passing moment shows in
    // the first only.
    if (!lastShot_.empty()) RunProgram({"convert", lastShot_, folder + "/checked.png"});
    if (!x_.Display().empty()) {
        try {
            Take("at-failure");
        } catch (const std::exception&) {
            // The display is gone: the last picture taken stays the one kept.
        }
    }
    if (!lastShot_.empty()) RunProgram({"convert", lastShot_, folder + "/screen.png"});
    for (const char* name :
         {"client.trace", "client-before-restart.trace", "client.out", "recorder.log", "recorder.err"})
        if (fs::exists(work_ + "/" + name))
            fs::copy_file(work_ + "/" + name, folder + "/" + name, fs::copy_options::overwrite_existing, ec);
    return folder;
}

} // namespace e2e
