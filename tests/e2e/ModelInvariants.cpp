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

// One of the main window's buttons that is enabled in every state, its window closed by its own
// button or key: the main window takes clicks, no hidden modal holds it.
void ButtonAnswers(Model& m, const std::string& after) {
    const int probe = m.state.steps % (m.state.connected ? 2 : 3);
    if (probe == 0) {
        const std::string about = m.c.Text(59967);
        m.c.ClickMain("BtnAbout");
        if (!Session::WaitFor([&] { return m.s.FindWindow(about).has_value(); }, 5000))
            Fail(after + ": ABOUT opens nothing");
        Session::Pause(300);
        m.s.Key("Escape");
        if (!m.s.WaitGone(about, 5000)) Fail(after + ": the About box stayed after Escape");
    } else if (probe == 1) {
        m.c.ClickMain("BtnLoglist");
        const Window log = m.s.WaitWindow("Harbek Log", 5000);
        m.s.ClickControl(log, FormLayout("Syslog.dfm"), "BtnClose");
        if (!m.s.WaitGone("Harbek Log", 5000)) Fail(after + ": the client log stayed after its close button");
    } else {
        m.c.ClickMain("BtnConnect");
        const Window dialog = m.s.WaitWindow("Connect", 5000);
        m.s.ClickControl(dialog, FormLayout("formlog.dfm"), "BtnCancel");
        if (!m.s.WaitGone("Connect", 5000)) Fail(after + ": the connect dialog stayed after CANCEL");
    }
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
    } else {
        const Shot shot = s.Take("screens");
        for (int camera = 1; camera <= 4; ++camera) {
            const double dark = shot.Share(m.c.Quarter(camera), Tint{Tint::Dark});
            if (dark < 0.999)
                Fail(after + ": nothing runs, yet screen " + std::to_string(camera) + " is not black (" +
                     std::to_string(int((1 - dark) * 10000)) + " in 10,000 pixels lit)");
        }
    }

    ButtonAnswers(m, after);

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
