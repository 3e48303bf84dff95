// Roads that leave files on the PC: a backup, its local playback, printing.
#include "tests/e2e/Roads.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace e2e {

namespace {

using testing_support::ReadFileBytes;

std::uint32_t Word(const std::string& bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// "yyyymmddhhmiss" of seconds since 1970, read as UTC as the recorder's times are.
std::string TimeName(std::uint32_t seconds) {
    const std::time_t t = seconds;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &tm);
    return text;
}

} // namespace

std::size_t CheckRecordedFile(const fs::path& file) {
    const std::string data = ReadFileBytes(file.string());
    const std::string offsets = ReadFileBytes(file.string() + ".fdx");
    const std::string times = ReadFileBytes(file.string() + ".tdx");
    const std::string marks = ReadFileBytes(file.string() + ".mdx");
    const std::string name = file.filename().string();
    if (data.size() < 32) Fail(name + ": no frames");
    if (offsets.empty() || offsets.size() % 4 != 0 || offsets.size() != times.size())
        Fail(name + ": the .fdx and .tdx index files do not match (" + std::to_string(offsets.size()) + ", " +
             std::to_string(times.size()) + " bytes)");
    if (marks.empty()) Fail(name + ": no .mdx index file");
    const std::size_t frames = offsets.size() / 4;
    std::uint32_t last = 0;
    for (std::size_t k = 0; k < frames; ++k) {
        const std::uint32_t at = Word(offsets, 4 * k), time = Word(times, 4 * k);
        if (at + 32 > data.size()) Fail(name + ": frame " + std::to_string(k) + " indexed past the end");
        if (Word(data, at) != 0x12345678u)
            Fail(name + ": no frame header at indexed offset " + std::to_string(at));
        if (Word(data, at + 4) != time)
            Fail(name + ": frame " + std::to_string(k) + " has another time than its index");
        if (time < last) Fail(name + ": the frame times run backwards at frame " + std::to_string(k));
        last = time;
    }
    if (TimeName(Word(times, 0)) != name)
        Fail(name + ": named otherwise than its first frame's time " + TimeName(Word(times, 0)));
    return frames;
}

fs::path BackUpAMinuteSpan(Session& s, Client& c, const std::string& destination) {
    c.Mode("btnSer_m");
    Box cell;
    const Window minutes = c.OpenMinuteTable(cell);
    const FormLayout minuteForm("MinTable.dfm");
    const int x = cell.x + cell.w / 2, y = cell.y + cell.h / 2;
    // The span's menu is the selected minute's.
    s.Click(x, y);
    c.PopupAt(x, y, minuteForm, {"SetStartTime"});
    c.PopupAt(x, y, minuteForm, {"SetEndTime"});
    const Box span = minuteForm.Bounds("lbStartTime");
    if (s.Take("span").Count(Box{minutes.box.x + span.x, minutes.box.y + span.y, span.w, span.h},
                             Tint{Tint::Dark}) == 0)
        Fail("the minute table shows no start of the span");
    s.ClickControl(minutes, minuteForm, "btnBackup");

    const Window backup = s.WaitWindow("BACKUP", 20000);
    const FormLayout backupForm("Backup.dfm");
    // The recorder's answer to the size request (command 125) enables the window.
    if (!c.WaitCommand(125, 1)) Fail("the backup window asked for no size (command 125)");
    s.Pause(1500);
    fs::create_directories(destination);
    s.ClickControl(backup, backupForm, "btnBrowse");
    c.Choose("Select a folder", destination);
    c.ExpectCommand(
        114, [&] { s.ClickControl(backup, backupForm, "btnBackupStart"); }, "BACKUP START");
    const std::string log = s.RecorderLog();
    if (log.substr(log.rfind("NETMSG command 114 ")).find(" backup") == std::string::npos)
        Fail("the stream was not asked for as a backup");
    // The download window shows the progress until the recorder's stream has passed the span; then a
    // box says the backup is complete.
    if (!c.Answer("Backup", "Return", 120000)) Fail("the backup did not end");

    std::vector<fs::path> hours;
    for (const auto& entry : fs::directory_iterator(destination))
        if (entry.is_directory()) hours.push_back(entry.path());
    if (hours.size() != 1)
        Fail("the backup wrote " + std::to_string(hours.size()) + " hour folders, not one");
    return hours.front();
}

namespace {

// Connected, one minute backed up into the work folder.
fs::path BackUpOneMinute(Session& s, Client& c) {
    c.Connect();
    return BackUpAMinuteSpan(s, c, s.Work() + "/backup");
}

} // namespace

void BackupThroughTheMinuteMenu(Session& s) {
    // Recorders that report a system-info result of 3 or more take a backup span.
    s.Start({.recorderArgs = {"--fast", "--sysinfo", "3"}});
    Client c(s);
    const fs::path hour = BackUpOneMinute(s, c);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(hour)) {
        if (entry.path().has_extension()) continue;
        ++files;
        CheckRecordedFile(entry.path());
        // The recorder's own recording of that minute, byte for byte, with its index files.
        const fs::path original = fs::path(s.Store()) / "avfiles" / hour.filename() / entry.path().filename();
        for (const char* ext : {"", ".fdx", ".tdx", ".mdx"})
            if (ReadFileBytes(entry.path().string() + ext) != ReadFileBytes(original.string() + ext))
                Fail(entry.path().filename().string() + ext + " differs from the recorder's " +
                     original.string() + ext);
    }
    if (files != 1)
        Fail("the hour folder " + hour.string() + " holds " + std::to_string(files) +
             " recorded files, not the minute's one");
}

void LocalPlaybackOfABackup(Session& s) {
    s.Start({.recorderArgs = {"--fast", "--sysinfo", "3"}});
    Client c(s);
    const fs::path hour = BackUpOneMinute(s, c);
    // The program closed and opened again, with no recorder: the backup is played from its folder.
    s.RestartClient();
    const FormLayout localForm("LocalSearch.dfm");
    // The folder chooser cancelled first: the main window takes the next click.
    c.ClickMain("BtnSearch");
    s.ClickControl(s.WaitWindow("LOCAL SEARCH"), localForm, "btnFile");
    s.WaitKeyboard(s.WaitWindow("Select a folder"));
    s.Key("Escape");
    if (!s.WaitGone("Select a folder", 5000)) Fail("Escape did not cancel the folder chooser");
    c.ClickMain("BtnSearch");
    s.ClickControl(s.WaitWindow("LOCAL SEARCH"), localForm, "btnFile");
    c.Choose("Select a folder", hour.string());
    s.WaitWindow("PLAY LIST");
    const Box screens = c.Screens();
    // Four screens, then PLAY.
    c.ClickMain("BtnQuad");
    c.ClickMain("BtnPlay");
    c.WaitFourCameras("playing");
    if (!c.Moving(screens)) Fail("PLAY: the pictures stand still");
    c.ClickMain("BtnPause");
    s.Pause(500);
    if (!c.Still(screens)) Fail("PAUSE: the pictures go on");
    const Shot paused = s.Take("paused");
    c.ClickMain("BtnNext");
    s.Pause(800);
    if (s.Take("stepped").Changed(paused, screens) < 0.0005) Fail("NEXT: no new picture");
    if (!c.Still(screens)) Fail("NEXT: the pictures go on after one step");
    // Fast: the speed shown beside the position slider changes, and the pictures run.
    const Box speed = c.MainControl("Label1");
    c.ClickMain("BtnPlay");
    const Shot normal = s.Take("normal-speed");
    c.ClickMain("BtnFastPlay");
    s.Pause(800);
    if (s.Take("fast").Changed(normal, speed) < 0.02) Fail("FAST: the speed shown stays");
    if (!c.Moving(screens)) Fail("FAST: the pictures stand still");
    c.WaitFourCameras("fast");
    c.ClickMain("BtnStop");
    s.Pause(500);
    if (!c.Still(screens)) Fail("STOP: the pictures go on");
}

void BackupOfThePlayedStream(Session& s) {
    s.Start();
    Client c(s);
    c.Connect();
    c.Mode("btnSer_m");
    c.ExpectCommand(
        114, [&] { c.SearchDownToAMinute(); }, "the minute");
    c.WaitFourCameras("playing the minute");
    const Box screens = c.Screens();
    const std::string destination = s.Work() + "/played";
    fs::create_directories(destination);
    // BACKUP asks where the stream goes; Escape there saves nothing and the playback goes on.
    c.ClickMain("BtnBackup");
    s.WaitKeyboard(s.WaitWindow("Select a folder"));
    s.Key("Escape");
    if (!s.WaitGone("Select a folder", 5000)) Fail("Escape did not cancel the folder chooser");
    if (!c.Moving(screens)) Fail("the playback stopped when the folder chooser was cancelled");
    // Hour folders are named by ten digits: none in the destination, none in the program's folder.
    const auto hourFolders = [](const std::string& folder) {
        int n = 0;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_directory() && name.size() == 10 &&
                std::all_of(name.begin(), name.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
                ++n;
        }
        return n;
    };
    if (hourFolders(destination) != 0 || hourFolders(s.Home()) != 0)
        Fail("a cancelled BACKUP saved something");
    // Asked again, the folder is chosen: the stream goes there, and the pictures rest meanwhile.
    c.ClickMain("BtnBackup");
    c.Choose("Select a folder", destination);
    Session::Pause(3000);
    if (!c.Still(screens)) Fail("the pictures go on while the stream is saved");
    // The second press ends the saving only: no stop is sent, no backup window shows, the pictures run.
    const int stops = c.Commands(115);
    c.ClickMain("BtnBackup_on");
    if (!Session::WaitFor([&] { return c.Moving(screens, 800); }, 8000))
        Fail("the playback did not go on after the saving ended");
    if (c.Commands(115) != stops) Fail("ending the saving stopped the playback (command 115)");
    if (s.FindWindow("BACKUP")) Fail("ending the saving left a backup window");
    std::size_t files = 0;
    for (const auto& hour : fs::directory_iterator(destination))
        for (const auto& entry : fs::directory_iterator(hour.path()))
            if (!entry.path().has_extension() && CheckRecordedFile(entry.path()) > 0) ++files;
    if (files == 0) Fail("the saving left no recorded file in " + destination);
    if (hourFolders(s.Home()) != 0) Fail("the saving wrote into the program's folder too");
    // STOP SEARCH ends the playback as ever.
    c.ExpectCommand(
        115, [&] { c.ClickMain("BtnDisser"); }, "STOP SEARCH");
    if (!c.Still(screens)) Fail("the pictures go on after STOP SEARCH");
}

void PrintCameraOneToPdf(Session& s) {
    s.Start();
    Client c(s);
    c.Connect();
    c.LiveOn();
    c.ScreenMenu({"MenuItemPrint", "MenuItemPrintCam1"});
    const Window print = s.WaitWindow("PRINT", 10000);
    // The snapshot shown is camera 1's picture.
    if (s.Take("print-window").Share(print.box, CameraTint(1)) < 0.1)
        Fail("the PRINT window shows no picture of camera 1");
    // The window takes the picture's size; its buttons stay at its bottom.
    const Box button = FormLayout("Print.dfm").BoundsFromBottom("btnPrint", print.box.h);
    const std::string named = s.Work() + "/snapshots/camera 1.pdf";
    fs::create_directories(s.Work() + "/snapshots");
    // PRINT; the printer dialog's Output file field (Alt+F) takes the name when one is given (else it
    // keeps the one it shows), and Return prints, or first asks, when the file exists, whether to replace
    // it: `replace` answers that question.
    const auto printTo = [&](const std::string& file, const char* replace) {
        s.Click(print, button.x + button.w / 2, button.y + button.h / 2);
        s.WaitKeyboard(s.WaitWindow("Print", 10000));
        if (!file.empty()) {
            s.Key("alt+f");
            s.Key("ctrl+a");
            s.Type(file);
        }
        s.Take("print-dialog");
        s.Key("Return");
        if (replace == nullptr) return;
        if (!Session::WaitFor([&] { return s.FindWindows("Print").size() == 2; }, 5000))
            Fail("printing over an existing file asked nothing");
        s.Take("replace-question");
        s.Key(replace);
    };
    // A box over the PRINT window says where the snapshot went.
    const auto told = [&](const std::string& what) {
        if (!Session::WaitFor([&] { return s.FindWindows("PRINT").size() == 2; }, 15000))
            Fail(what + ": no box said where the snapshot went");
        s.Take("written-to");
        s.Key("Return");
        if (!Session::WaitFor([&] { return s.FindWindows("PRINT").size() == 1; }, 5000))
            Fail(what + ": the box stayed");
    };
    const auto isPdf = [&](const std::string& file) {
        const std::string bytes = ReadFileBytes(file);
        return bytes.rfind("%PDF-", 0) == 0 && bytes.find("/Image") != std::string::npos &&
               bytes.find("%%EOF") != std::string::npos;
    };

    printTo(named, nullptr);
    told("printing to a file");
    if (!fs::exists(named) || !isPdf(named))
        Fail("printing wrote no whole PDF file with the picture to " + named);
    if (fs::exists(s.Work() + "/print.pdf")) Fail("printing wrote the default file too");
    // The dialog names that file again, and printing to it asks first: No keeps the file and leaves the
    // dialog open, to be cancelled.
    testing_support::WriteFileBytes(named, "mine");
    printTo("", "Return");
    if (!Session::WaitFor([&] { return s.FindWindows("Print").size() == 1; }, 5000))
        Fail("the question stayed after No");
    // The dialog takes the keys again once clicked (its top left corner holds no control).
    s.Click(s.WaitWindow("Print"), 6, 4);
    s.Key("Escape");
    if (!s.WaitGone("Print", 5000)) Fail("the printer dialog stayed after Escape");
    Session::Pause(500);
    if (ReadFileBytes(named) != "mine") Fail("No replaced " + named);
    // Yes replaces it.
    printTo("", "alt+y");
    told("printing over a file");
    if (!isPdf(named)) Fail("Yes did not replace " + named + " with the snapshot");
}

} // namespace e2e
