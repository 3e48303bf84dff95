// What must hold after every road of a session, whatever came before it.
#include "tests/e2e/Model.h"
#include "tests/support/TestSupport.h"

#include <functional>

namespace fs = std::filesystem;

namespace e2e {

namespace {

using testing_support::ReadFileBytes;

std::size_t Digest(const std::string& bytes) {
    return std::hash<std::string>{}(bytes);
}

// The windows other than the main window.
std::vector<std::string> OthersShown(Session& s) {
    std::vector<std::string> others;
    for (const std::string& title : s.VisibleTitles())
        if (title != "Harbek") others.push_back(title);
    return others;
}

// The main window takes clicks, no hidden modal holds it: its LOG button, shown in every mode, opens
// the client log, closed by its own button; on still screens, their popup menu opens and goes with
// Escape.
void MainWindowAnswers(Model& m, const std::string& after) {
    if (m.state.steps % 2 == 0 || m.state.live) {
        m.c.ClickMain("BtnLoglist");
        const Window log = m.s.WaitWindow("Harbek Log", 5000);
        m.s.ClickControl(log, FormLayout("Syslog.dfm"), "BtnClose");
        if (!m.s.WaitGone("Harbek Log", 5000)) Fail(after + ": the client log stayed after its close button");
        return;
    }
    const Box p = m.c.Screens();
    const int x = p.x + p.w / 2, y = p.y + p.h / 2 + 40;
    const Box menu{x + 4, y + 4, 100, 60};
    const Shot before = m.s.Take("before-menu");
    m.s.Click(x, y, 3);
    if (!Session::WaitFor([&] { return m.s.Take("menu").Changed(before, menu) > 0.05; }, 3000))
        Fail(after + ": the screens' popup menu does not open");
    m.s.Key("Escape");
    if (!Session::WaitFor([&] { return m.s.Take("menu-gone").Changed(before, menu) < 0.01; }, 3000))
        Fail(after + ": the screens' popup menu stayed after Escape");
}

} // namespace

void Model::Wrote(const fs::path& file) {
    const std::string bytes = ReadFileBytes(file.string());
    state.written[file.string()] = {bytes.size(), Digest(bytes)};
}

void CheckInvariants(Model& m, const std::string& after) {
    Session& s = m.s;
    if (s.WaitClientEnd(0) != -1) Fail(after + ": the client ended");
    const std::size_t logBefore = s.RecorderLog().size();

    // Every window the road opened went by its own buttons.
    std::vector<std::string> others;
    Session::WaitFor([&] { return (others = OthersShown(s)).empty(); }, 2000);
    if (!others.empty()) {
        std::string list;
        for (const std::string& t : others)
            list += " \"" + t + "\"";
        s.Take("left-open");
        Fail(after + ": left open:" + list);
    }
    const Window main = m.c.Main();
    if (main.box.x != m.mainBox.x || main.box.y != m.mainBox.y || main.box.w != m.mainBox.w ||
        main.box.h != m.mainBox.h)
        Fail(after + ": the main window is " + std::to_string(main.box.w) + "x" + std::to_string(main.box.h) +
             " at " + std::to_string(main.box.x) + "," + std::to_string(main.box.y) + ", not as it opened");

    // The screens show what runs, and nothing of what ran before.
    if (m.state.live) {
        m.c.WaitFourCameras(after + ": live view");
        if (!m.c.Moving(m.c.Screens())) Fail(after + ": the live pictures stand still");
    } else if (m.state.localOpen) {
        m.c.WaitFourCameras(after + ": the stopped recording");
        if (!m.c.Still(m.c.Screens())) Fail(after + ": the stopped recording plays on");
    } else {
        const Shot shot = s.Take("screens");
        for (int camera = 1; camera <= 4; ++camera) {
            const double dark = shot.Share(m.c.Quarter(camera), Tint{Tint::Dark});
            if (dark < 0.999)
                Fail(after + ": nothing runs, yet screen " + std::to_string(camera) + " is not black (" +
                     std::to_string(int((1 - dark) * 10000)) + " in 10,000 pixels lit)");
        }
    }

    MainWindowAnswers(m, after);

    // What the roads wrote is still there, whole and unchanged.
    for (const auto& [file, seen] : m.state.written) {
        std::error_code ec;
        if (!fs::exists(file, ec)) Fail(after + ": " + file + " is gone");
        const std::string bytes = ReadFileBytes(file);
        if (bytes.size() != seen.first || Digest(bytes) != seen.second)
            Fail(after + ": " + file + " changed (" + std::to_string(seen.first) + " -> " +
                 std::to_string(bytes.size()) + " bytes)");
    }

    // The recorder took every packet as well formed, and hears nothing from a client that left it.
    const std::string log = s.RecorderLog();
    const auto problem = log.find(" PROBLEM: ");
    if (problem != std::string::npos)
        Fail(
            after + ": the recorder received a bad packet: " +
            log.substr(log.rfind('\n', problem) + 1, log.find('\n', problem) - log.rfind('\n', problem) - 1));
    if (!m.state.connected && log.size() != logBefore)
        Fail(after + ": disconnected, the client still sends: " + log.substr(logBefore, 200));
}

} // namespace e2e
