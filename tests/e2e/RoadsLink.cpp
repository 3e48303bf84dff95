// Roads where what the user presses must reach what it names and the link must be told truly: the main
// window's keys while the play list has the focus, stops the recorder does not answer, the search tab's
// saving on a disk that fills, and the power button inside the database's long wait.
#include "tests/e2e/Roads.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <regex>

namespace fs = std::filesystem;

namespace e2e {

namespace {

long LogLines(Session& s, const std::string& pattern) {
    const std::string log = s.RecorderLog();
    const std::regex line(pattern);
    return std::distance(std::sregex_iterator(log.begin(), log.end(), line), std::sregex_iterator());
}

// A folder of the recorder's first two recordings (each in an hour folder of its own in the store), with
// their index files.
fs::path TwoRecordings(Session& s) {
    const fs::path folder = s.Work() + "/two";
    fs::create_directories(folder);
    std::vector<fs::path> hours;
    for (const auto& hour : fs::directory_iterator(s.Store() + "/avfiles"))
        hours.push_back(hour.path());
    std::sort(hours.begin(), hours.end());
    if (hours.size() < 2) Fail("the recorder's store holds fewer than two hours");
    for (std::size_t k = 0; k < 2; ++k)
        for (const auto& file : fs::directory_iterator(hours[k]))
            fs::copy_file(file.path(), folder / file.path().filename());
    return folder;
}

// The shot's pixels of the boxes differ from the other's by more than a trace.
bool Differ(const Shot& a, const Shot& b, std::initializer_list<Box> boxes) {
    for (const Box& box : boxes)
        if (a.Changed(b, box) > 0.01) return true;
    return false;
}

// The recording ends after its last whole frame: frame headers chained from its start to its end.
void ExpectWholeFrames(const fs::path& file) {
    const std::string data = testing_support::ReadFileBytes(file.string());
    const auto word = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(data[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 3])) << 24;
    };
    std::size_t at = 0, frames = 0;
    while (at + 32 <= data.size() && word(at) == 0x12345678u) {
        at += 32 + word(at + 8);
        ++frames;
    }
    if (frames == 0 || at != data.size())
        Fail(file.filename().string() + " does not end after a whole frame (" + std::to_string(frames) +
             " frames, " + std::to_string(data.size()) + " bytes)");
}

// The pointer over the screens, where it lights no button.
void MouseAway(Session& s, Client& c) {
    const Box screens = c.Screens();
    s.MoveMouse(screens.x + screens.w / 2, screens.y + screens.h / 2);
}

// The local tab of a connected client.
Shot LocalLook(Session& s, Client& c) {
    MouseAway(s, c);
    return s.Take("local-connected");
}

// The stop of the recorder's stream is held: after its time the local tab shows as it did before, and its
// button where LIVE OFF or STOP SEARCH stood is DISCONNECT.
void StopHeldShowsTheLocalTab(Session& s, Client& c, const Shot& local, int stop, const std::string& button) {
    s.Control("hold " + std::to_string(stop));
    c.ExpectCommand(
        stop, [&] { c.ClickMain(button); }, button);
    const Box place = c.MainControl("BtnDisconnect");
    const auto localLook = [&] {
        MouseAway(s, c);
        const Shot now = s.Take("after-" + button);
        return !Differ(
            now, local,
            {c.MainControl("btnLocal_m"), c.MainControl("btnLive_m"), c.MainControl("btnSer_m"), place});
    };
    if (!Session::WaitFor(localLook, 15000))
        Fail(button + " without an answer: the tabs and their buttons are not the local tab's");
    const int lives = c.Commands(112);
    s.Press(place.x + place.w / 2, place.y + place.h / 2);
    if (!Session::WaitFor(
            [&] { return s.Take("disconnected").Count(c.MainControl("ImgPoint"), Tint{Tint::Green}) == 0; },
            15000))
        Fail("after " + button + " the button in DISCONNECT's place did not disconnect");
    if (c.Commands(112) != lives || s.FindWindow("SEARCH"))
        Fail("the button in DISCONNECT's place started " + button + "'s work again");
    s.Control("release");
}

} // namespace

void KeysLiveOffAndTheDatabaseWait(Session& s) {
    s.Start({.recorderArgs = {"--fast"}, .clientEnv = {}, .control = true});
    Client c(s);
    // A folder of recordings opened on this computer; the play list takes the focus.
    c.ClickMain("BtnSearch");
    s.ClickControl(s.WaitWindow("LOCAL SEARCH"), FormLayout("LocalSearch.dfm"), "btnFile");
    c.Choose("Select a folder", TwoRecordings(s).string());
    s.WaitWindow("PLAY LIST");
    Session::Pause(500);
    const Box screens = c.Screens(), speed = c.MainControl("Label1"), time = c.MainControl("LabelSearchTime"),
              slider = c.MainControl("SliderSearch");
    const Shot opened = s.Take("play-list-focused");
    // The main window's keys, pressed while the play list has the focus.
    s.Key("Right");
    if (!c.Moving(screens)) Fail("Right: the pictures do not play");
    s.Key("ctrl+Right");
    if (!Differ(s.Take("fast"), opened, {speed})) Fail("Ctrl+Right: the speed shown stays");
    s.Key("space");
    if (!c.Still(screens)) Fail("Space: the pictures go on");
    s.Key("End");
    Session::Pause(800);
    const Shot end = s.Take("end-key");
    s.Key("Home");
    Session::Pause(800);
    const Shot home = s.Take("home-key");
    if (!Differ(end, home, {time, slider})) Fail("Home and End show the same place");
    // The transport's own buttons go to the same places.
    c.ClickMain("BtnLast");
    Session::Pause(800);
    if (Differ(s.Take("last-button"), end, {time, slider, screens})) Fail("End went elsewhere than LAST");
    c.ClickMain("BtnFirst");
    Session::Pause(800);
    if (Differ(s.Take("first-button"), home, {time, slider, screens})) Fail("Home went elsewhere than FIRST");

    // LIVE OFF without an answer.
    c.Connect();
    const Shot local = LocalLook(s, c);
    c.LiveOn();
    StopHeldShowsTheLocalTab(s, c, local, 113, "BtnDislive");

    // The database held: the wait shows, and the power button ends it and the program.
    c.Connect();
    c.Mode("btnSer_m");
    s.Control("hold 105");
    c.ClickMain("BtnSer");
    s.ClickControl(s.WaitWindow("SEARCH"), FormLayout("SearchDevice.dfm"), "btnHDD");
    if (!Session::WaitFor([&] { return LogLines(s, "NETMSG command 105 arg0 4 ") == 1; }, 15000))
        Fail("HDD asked the recorder for no database");
    s.WaitWindow("Wait", 5000);
    s.Take("database-wait");
    const Box power = c.MainControl("BtnPower");
    s.Press(power.x + power.w / 2, power.y + power.h / 2);
    if (s.WaitClientEnd(15000) < 0) Fail("the power button did not end the database's wait and the program");
}

void SearchBackupOnAFullDiskAndStopSearch(Session& s) {
    if (::geteuid() != 0) GTEST_SKIP() << "a small disk (tmpfs) needs root";
    s.Start({.recorderArgs = {}, .clientEnv = {}, .control = true});
    const std::string disk = s.Work() + "/small";
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=400k") != 0) GTEST_SKIP() << "no tmpfs here";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};
    Client c(s);
    c.Connect();
    const Shot local = LocalLook(s, c);
    c.Mode("btnSer_m");
    c.ExpectCommand(
        114, [&] { c.SearchDownToAMinute(); }, "the minute");
    c.WaitFourCameras("playing the minute");
    const Box screens = c.Screens(), backup = c.MainControl("BtnBackup");
    MouseAway(s, c);
    const Shot playing = s.Take("playing");
    const long stops = LogLines(s, "NETMSG command 115 ");
    c.ClickMain("BtnBackup");
    c.Choose("Select a folder", disk);
    // The disk fills: one box says so; the saving ends, the playback goes on.
    if (!Session::WaitFor([&] { return s.FindWindow(c.Text(59849)).has_value(); }, 30000))
        Fail("no box told that the disk is full");
    s.Take("disk-full-box");
    c.Answer(c.Text(59849));
    if (!Session::WaitFor([&] { return c.Moving(screens, 800); }, 8000))
        Fail("the pictures stand still after the disk filled");
    if (LogLines(s, "NETMSG command 115 ") != stops) Fail("the full disk stopped the recorder's playback");
    MouseAway(s, c);
    if (Differ(s.Take("after-full"), playing, {backup})) Fail("BACKUP does not show as before the saving");
    std::size_t files = 0;
    for (const auto& hour : fs::directory_iterator(disk))
        if (hour.is_directory())
            for (const auto& file : fs::directory_iterator(hour.path()))
                if (!file.path().has_extension()) ExpectWholeFrames(file.path()), ++files;
    if (files != 1) Fail("the full disk holds " + std::to_string(files) + " recordings, not one");
    // BACKUP takes a press again: it asks where to save.
    c.ClickMain("BtnBackup");
    s.WaitKeyboard(s.WaitWindow("Select a folder"));
    s.Key("Escape");
    if (!s.WaitGone("Select a folder", 5000)) Fail("Escape did not cancel the folder chooser");

    // STOP SEARCH without an answer.
    StopHeldShowsTheLocalTab(s, c, local, 115, "BtnDisser");
}

} // namespace e2e
