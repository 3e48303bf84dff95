// The roads of a session, each from whatever state the ones before left: its precondition reads the
// model's state, its end writes it. A road ends with its own windows closed by their own buttons.
#include "tests/e2e/Model.h"
#include "tests/e2e/Roads.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>

namespace fs = std::filesystem;

namespace e2e {

namespace {

using testing_support::ReadFileBytes;

bool LampGreen(Model& m) {
    return m.s.Take("lamp").Count(m.c.MainControl("ImgPoint"), Tint{Tint::Green}) > 0;
}

// Every box that came up, answered with Return; fails for one that stays.
void AnswerAnyBox(Model& m, int ms) {
    Session::WaitFor(
        [&] {
            for (const std::string& title : m.s.VisibleTitles())
                if (title != "Harbek") return true;
            return false;
        },
        ms);
    for (int k = 0; k < 3; ++k) {
        std::string other;
        for (const std::string& title : m.s.VisibleTitles())
            if (title != "Harbek") other = title;
        if (other.empty()) return;
        m.s.Take("box");
        Session::Pause(200);
        m.s.Key("Return");
        if (!m.s.WaitGone(other, 5000)) Fail("the box \"" + other + "\" stayed after Return");
    }
}

void Connect(Model& m) {
    m.c.Connect();
    if (!Session::WaitFor([&] { return LampGreen(m); }, 5000)) Fail("the link lamp did not turn green");
    m.state.connected = true;
    // Connecting ends a local playback.
    m.state.localOpen = false;
}

// DISCONNECT is the local mode's.
void Disconnect(Model& m) {
    m.c.Mode("btnLocal_m");
    m.c.Disconnect();
    if (!Session::WaitFor([&] { return !LampGreen(m); }, 10000)) Fail("the link lamp stays green");
    m.state.connected = false;
    m.state.live = false;
}

// The recorder drops both connections; the client finds the link gone and says so.
void LinkDropped(Model& m) {
    m.s.Control("drop");
    if (!Session::WaitFor([&] { return !LampGreen(m); }, 20000))
        Fail("the link lamp stays green after the recorder dropped the link");
    AnswerAnyBox(m, 3000);
    m.state.connected = false;
    m.state.live = false;
}

// The camera's picture fills the box, and no other camera's shows in it.
bool Alone(const Shot& shot, Box box, int camera) {
    for (int other = 1; other <= 4; ++other)
        if (other != camera && shot.Share(box, CameraTint(other)) > 0.02) return false;
    return shot.Share(box, CameraTint(camera)) > 0.2;
}

void LookAtFullMode(Model& m, int camera, const std::string& what) {
    const Window skin = m.c.Main();
    m.s.Key("Return");
    const bool full = Session::WaitFor(
        [&] {
            const auto w = m.s.FindWindow("Harbek");
            return w && w->box.x == 0 && w->box.y == 0 && w->box.w == 1280 && w->box.h == 1024;
        },
        10000);
    if (!full) Fail(what + ": full mode does not fill the display");
    Session::Pause(800);
    if (!Alone(m.s.Take("full"), Box{0, 0, 1280, 1024}, camera))
        Fail(what + ": the picture does not fill the display in full mode");
    m.s.Key("Escape");
    if (!Session::WaitFor(
            [&] {
                const auto w = m.s.FindWindow("Harbek");
                return w && w->box.x == skin.box.x && w->box.y == skin.box.y && w->box.w == skin.box.w &&
                       w->box.h == skin.box.h;
            },
            10000))
        Fail(what + ": the window does not come back from full mode");
    Session::Pause(800);
}

void Live(Model& m) {
    m.c.Mode("btnLive_m");
    if (!m.state.live) m.c.ClickMain("BtnLive");
    m.c.WaitFourCameras("live view");
    if (!m.c.Moving(m.c.Screens())) Fail("the live pictures stand still");
    const int camera = 1 + m.Pick(4);
    m.c.ClickMain("BtnCamera" + std::to_string(camera));
    if (!Session::WaitFor([&] { return Alone(m.s.Take("one"), m.c.Screens(), camera); }, 10000))
        Fail("camera " + std::to_string(camera) + " alone does not fill the screens");
    if (!m.c.Moving(m.c.Screens())) Fail("camera " + std::to_string(camera) + " alone stands still");
    if (m.Pick(2) == 0) LookAtFullMode(m, camera, "camera " + std::to_string(camera));
    m.c.ClickMain("BtnQuad");
    m.c.WaitFourCameras("back to four screens");
    m.state.live = true;
    if (m.Pick(2) == 0) return; // left running for the next road
    m.c.ExpectCommand(
        113, [&] { m.c.ClickMain("BtnDislive"); }, "LIVE OFF");
    m.state.live = false;
}

// The remote look moves Play and Pause into the places of First and Prev.
void RemotePlayAndItsTransport(Model& m) {
    m.c.Mode("btnSer_m");
    m.state.live = false;
    m.c.ExpectCommand(
        114, [&] { m.c.SearchDownToAMinute(); }, "the minute");
    m.c.WaitFourCameras("playing the minute");
    if (!m.c.Moving(m.c.Screens())) Fail("the played minute stands still");
    const bool buttons = m.state.result >= 3;
    const auto still = [&](const std::string& after) {
        Session::Pause(800);
        if (!m.c.Still(m.c.Screens())) Fail("the pictures go on after " + after);
    };
    m.c.ExpectCommand(
        123, [&] { buttons ? m.c.ClickMain("BtnPrev") : m.s.Key("space"); }, "PAUSE");
    still("PAUSE");
    m.c.ExpectCommand(
        124, [&] { buttons ? m.c.ClickMain("BtnFirst") : m.s.Key("Right"); }, "PLAY");
    if (!m.c.Moving(m.c.Screens())) Fail("the pictures stand still after PLAY");
    m.c.ExpectCommand(
        114, [&] { m.s.Key("shift+Left"); }, "five seconds back");
    m.c.WaitFourCameras("after five seconds back");
    m.c.ExpectCommand(
        115, [&] { m.c.ClickMain("BtnDisser"); }, "STOP SEARCH");
}

// The recorded files (with their index files) of a folder and its hour folders.
std::vector<fs::path> RecordedFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    if (!fs::exists(folder, ec)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !entry.path().has_extension() &&
            fs::exists(entry.path().string() + ".fdx"))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void KeepBackup(Model& m, const fs::path& destination) {
    for (const fs::path& file : RecordedFiles(destination)) {
        CheckRecordedFile(file);
        for (const char* ext : {"", ".fdx", ".tdx", ".mdx"})
            m.Wrote(file.string() + ext);
        const fs::path hour = file.parent_path();
        if (std::find(m.state.playable.begin(), m.state.playable.end(), hour) == m.state.playable.end())
            m.state.playable.push_back(hour);
    }
}

// The search's windows a backup leaves, closed one after the other by their own way back.
void CloseSearchWindows(Model& m) {
    const struct {
        const char* title;
        const char* form;
        const char* button;
    } ways[] = {{"BACKUP", "Backup.dfm", "btnCancel"},
                {"MINUTE TABLE", "MinTable.dfm", "btnBack"},
                {"HOUR TABLE", "HourTable.dfm", "btnBack"},
                {"CALENDAR", "Calendar.dfm", "btnLive"},
                {"SEARCH", "Search.dfm", "btnCancel"}};
    for (int k = 0; k < 8; ++k) {
        bool closed = false;
        for (const auto& way : ways) {
            const auto w = m.s.FindWindow(way.title);
            if (!w) continue;
            m.s.Take(std::string("closing ") + way.title);
            m.s.ClickControl(*w, FormLayout(way.form), way.button);
            if (!Session::WaitFor(
                    [&] {
                        const auto now = m.s.FindWindow(way.title);
                        return !now || now->id != w->id;
                    },
                    5000))
                Fail(std::string(way.button) + " did not close " + way.title);
            Session::Pause(500);
            closed = true;
            break;
        }
        if (!closed) return;
    }
}

// BACKUP pressed while a searched minute plays, pressed again a few seconds later: the saved stream
// goes where the user says, and the panel tells the truth about the search.
void StreamBackup(Model& m) {
    m.c.Mode("btnSer_m");
    m.state.live = false;
    const Shot idle = m.s.Take("search-idle");
    m.c.ExpectCommand(
        114, [&] { m.c.SearchDownToAMinute(); }, "the minute");
    m.c.WaitFourCameras("playing the minute");
    const std::string destination = m.s.Work() + "/stream-" + std::to_string(m.state.steps);
    fs::create_directories(destination);
    // A folder asked for, at either press, takes the files; else they go into the program folder.
    bool asked = false;
    const auto folderAsked = [&](int ms) {
        std::string chooser;
        Session::WaitFor(
            [&] {
                for (const std::string& caption : {std::string("Select a folder"), m.c.Text(59827)})
                    if (m.s.FindWindow(caption)) chooser = caption;
                return !chooser.empty();
            },
            ms);
        if (chooser.empty()) return;
        m.c.Choose(chooser, destination);
        asked = true;
    };
    m.c.ClickMain("BtnBackup");
    folderAsked(2000);
    Session::Pause(3000);
    m.c.ClickMain("BtnBackup_on");
    if (!asked) folderAsked(5000);
    m.c.Answer("Backup", "Return", 2000);
    // A backup window that came up goes by its CANCEL.
    CloseSearchWindows(m);
    const std::string folder = asked ? destination : m.s.Home();
    if (RecordedFiles(folder).empty()) Fail("the stream backup wrote no recorded file into " + folder);
    KeepBackup(m, folder);
    // Either the minute plays on, or the search ended and the panel offers a new one.
    if (m.c.Moving(m.c.Screens())) {
        m.c.ExpectCommand(
            115, [&] { m.c.ClickMain("BtnDisser"); }, "STOP SEARCH");
    } else if (m.s.Take("after-stream-backup").Changed(idle, m.c.MainControl("BtnSer")) > 0.05) {
        Fail("the playback stopped with the stream backup, yet the panel still offers STOP SEARCH");
    }
}

// A minute set as the span in the minute table and backed up: the recorder's own files, byte for byte.
void SpanBackup(Model& m) {
    m.state.live = false;
    const std::string destination = m.s.Work() + "/span-" + std::to_string(m.state.steps);
    const fs::path hour = BackUpAMinuteSpan(m.s, m.c, destination);
    const std::vector<fs::path> files = RecordedFiles(hour);
    if (files.size() != 1) Fail(hour.string() + " holds " + std::to_string(files.size()) + " recorded files");
    const fs::path original = fs::path(m.s.Store()) / "avfiles" / hour.filename() / files.front().filename();
    for (const char* ext : {"", ".fdx", ".tdx", ".mdx"})
        if (ReadFileBytes(files.front().string() + ext) != ReadFileBytes(original.string() + ext))
            Fail(files.front().filename().string() + ext + " differs from the recorder's " +
                 original.string());
    KeepBackup(m, destination);
    CloseSearchWindows(m);
}

// A folder of recordings played on this computer: PLAY, PAUSE, PLAY, STOP, the play list closed.
void LocalPlayback(Model& m) {
    const fs::path folder = m.state.playable[static_cast<std::size_t>(m.Pick(int(m.state.playable.size())))];
    m.c.ClickMain("BtnSearch");
    m.s.ClickControl(m.s.WaitWindow("LOCAL SEARCH"), FormLayout("LocalSearch.dfm"), "btnFile");
    m.c.Choose("Select a folder", folder.string());
    const Window list = m.s.WaitWindow("PLAY LIST");
    const Box screens = m.c.Screens();
    m.c.ClickMain("BtnQuad");
    m.c.ClickMain("BtnPlay");
    m.c.WaitFourCameras("playing " + folder.string());
    if (!m.c.Moving(screens)) Fail("PLAY: the pictures of " + folder.string() + " stand still");
    m.c.ClickMain("BtnPause");
    Session::Pause(500);
    if (!m.c.Still(screens)) Fail("PAUSE: the pictures go on");
    m.c.ClickMain("BtnPlay");
    if (!m.c.Moving(screens)) Fail("PLAY after PAUSE: the pictures stand still");
    m.c.ClickMain("BtnStop");
    Session::Pause(500);
    if (!m.c.Still(screens)) Fail("STOP: the pictures go on");
    m.s.ClickControl(list, FormLayout("FileList.dfm"), "BtnClose");
    if (!m.s.WaitGone("PLAY LIST", 5000)) Fail("the play list stayed after its close button");
    m.state.localOpen = true;
}

// The search for a recorder disk: on this computer none, or only volumes it may not use.
void RecorderDisk(Model& m) {
    m.c.ClickMain("BtnDetectUsb");
    const std::string none = m.c.Text(50486), refused = m.c.Text(59886);
    if (!Session::WaitFor([&] { return m.s.FindWindow(none) || m.s.FindWindow(refused); }, 30000))
        Fail("the recorder disk's search said nothing");
    if (!m.c.Answer(m.s.FindWindow(none) ? none : refused)) Fail("the disk's box went by itself");
}

// The recorder's title changed on the system page and APPLY confirmed: the recorder holds it.
void SetupApplied(Model& m) {
    const Window menu = m.c.OpenSetupMenu();
    const FormLayout menuForm("Menu.dfm");
    m.s.ClickControl(menu, menuForm, "btnSystem");
    const Window system = m.s.WaitWindow("SYSTEM", 20000);
    const FormLayout systemForm("System.dfm");
    m.s.ClickControl(system, systemForm, "edtTitle");
    m.s.Key("ctrl+a");
    const std::string title = "MODEL " + std::to_string(m.state.steps);
    m.s.Type(title);
    m.s.ClickControl(system, systemForm, "btnOk");
    const Window back = m.s.WaitWindow(m.c.Text(59931), 10000);
    m.s.ClickControl(back, menuForm, "btnOk");
    if (!Session::WaitFor([&] { return m.s.FindWindows(m.c.Text(59931)).size() >= 2; }, 5000))
        Fail("APPLY asked no confirmation");
    Session::Pause(300);
    m.c.ExpectCommand(
        121, [&] { m.s.Key("Return"); }, "APPLY", 30000);
    const std::string want = "27_1_1=" + title + "\r";
    if (!Session::WaitFor(
            [&] { return ReadFileBytes(m.s.Store() + "/config.ini").find(want) != std::string::npos; },
            10000))
        Fail("the recorder's config.ini does not hold the new title " + title);
    if (!m.s.WaitGone(m.c.Text(59931), 10000)) Fail("the setup menu stayed after APPLY");
}

// The recorder's log list saved as a text file, newest line first; the menu left by CANCEL.
void LogList(Model& m) {
    const Window menu = m.c.OpenSetupMenu();
    const FormLayout menuForm("Menu.dfm");
    m.s.ClickControl(menu, menuForm, "btnLoglist");
    const Window list = m.s.WaitWindow("LOG LIST", 30000);
    const std::string target = m.s.Work() + "/log-" + std::to_string(m.state.steps) + ".txt";
    const FormLayout listForm("Loglist.dfm");
    m.s.ClickControl(list, listForm, "btnSaveAs");
    m.c.Choose("Save As", target);
    if (!Session::WaitFor([&] { return fs::exists(target); }, 5000)) Fail("Save As wrote no " + target);
    Session::Pause(300);
    std::ifstream in(target);
    const std::regex row(R"(   \d{4}/\d{2}/\d{2}    \d{2}:\d{2}:\d{2}       .+\r?)");
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        ++lines;
        if (!std::regex_match(line, row)) Fail("a saved line is not a log line: \"" + line + "\"");
    }
    if (lines < 3) Fail("the saved log holds " + std::to_string(lines) + " lines");
    m.Wrote(target);
    m.s.ClickControl(list, listForm, "btnExit");
    if (!m.s.WaitGone("LOG LIST", 10000)) Fail("the log list stayed after EXIT");
    m.s.ClickControl(m.s.WaitWindow(m.c.Text(59931), 10000), menuForm, "btnCancel");
    if (!m.s.WaitGone(m.c.Text(59931), 10000)) Fail("the setup menu stayed after CANCEL");
}

bool IsJpeg(const std::string& bytes) {
    return bytes.size() > 1000 && bytes.rfind("\xFF\xD8", 0) == 0 &&
           bytes.substr(bytes.size() - 2) == "\xFF\xD9";
}

bool IsPdf(const std::string& bytes) {
    return bytes.rfind("%PDF-", 0) == 0 && bytes.find("/Image") != std::string::npos &&
           bytes.find("%%EOF") != std::string::npos;
}

// A live camera's snapshot: saved as a picture, printed to a PDF file, the window closed.
void PrintAndSaveSnapshot(Model& m) {
    const int camera = 1 + m.Pick(4);
    const std::string k = std::to_string(camera);
    m.c.ScreenMenu({"MenuItemPrint", "MenuItemPrintCam" + k});
    const Window print = m.s.WaitWindow("PRINT", 10000);
    if (m.s.Take("print-window").Share(print.box, CameraTint(camera)) < 0.1)
        Fail("the PRINT window shows no picture of camera " + k);
    const FormLayout form("Print.dfm");
    const auto click = [&](const char* button) {
        const Box b = form.BoundsFromBottom(button, print.box.h);
        m.s.Click(print, b.x + b.w / 2, b.y + b.h / 2);
    };
    // A box over the window says where the snapshot went.
    const auto told = [&](const std::string& what) {
        if (!Session::WaitFor([&] { return m.s.FindWindows("PRINT").size() == 2; }, 15000))
            Fail(what + ": no box said where the snapshot went");
        m.s.Key("Return");
        if (!Session::WaitFor([&] { return m.s.FindWindows("PRINT").size() == 1; }, 5000))
            Fail(what + ": the box stayed");
    };
    const std::string base = m.s.Work() + "/snap-" + std::to_string(m.state.steps);
    click("btnSave");
    m.c.Choose("Save As", base + ".jpg");
    told("saving the snapshot");
    const std::string jpeg = base + "_" + k + ".jpg";
    if (!IsJpeg(ReadFileBytes(jpeg))) Fail("the saved snapshot " + jpeg + " is no whole JPEG picture");
    m.Wrote(jpeg);
    click("btnPrint");
    m.s.WaitKeyboard(m.s.WaitWindow("Print", 10000));
    m.s.Key("alt+f");
    m.s.Key("ctrl+a");
    m.s.Type(base + ".pdf");
    m.s.Key("Return");
    told("printing the snapshot");
    if (!IsPdf(ReadFileBytes(base + ".pdf"))) Fail("printing wrote no whole PDF file " + base + ".pdf");
    m.Wrote(base + ".pdf");
    click("btnClose");
    if (!m.s.WaitGone("PRINT", 5000)) Fail("the PRINT window stayed after CLOSE");
}

bool Connected(const ModelState& st) {
    return st.connected;
}
bool Disconnected(const ModelState& st) {
    return !st.connected;
}

} // namespace

const std::vector<ModelRoad>& ModelRoads() {
    static const std::vector<ModelRoad> roads = {
        {"connect", Disconnected, Connect},
        {"disconnect", Connected, Disconnect},
        {"link_dropped", Connected, LinkDropped},
        {"live", Connected, Live},
        {"remote_play", Connected, RemotePlayAndItsTransport},
        {"stream_backup", Connected, StreamBackup},
        {"span_backup", [](const ModelState& st) { return st.connected && st.result >= 3; }, SpanBackup},
        {"local_playback", [](const ModelState& st) { return !st.connected && !st.playable.empty(); },
         LocalPlayback},
        {"recorder_disk", Disconnected, RecorderDisk},
        {"setup_apply", Connected, SetupApplied},
        {"log_list", Connected, LogList},
        {"snapshot", [](const ModelState& st) { return st.connected && st.live; }, PrintAndSaveSnapshot},
    };
    return roads;
}

} // namespace e2e
