// Roads of the remote search as each kind of recorder offers it: the remote transport driven by its
// buttons, a backup span set through the hour table's right-button menu, and what an older recorder (one
// that answers the log-in with result 2) leaves out.
#include "tests/e2e/Roads.h"

#include <map>
#include <regex>

namespace e2e {

namespace {

// The remote look moves Play, Pause, Stop and Next into the places of First, Prev, Fast Reverse and
// Reverse (which it hides), and shows Back 5 where Play was.
const std::map<std::string, std::string> kRemotePlace = {{"BtnPlay", "BtnFirst"},
                                                         {"BtnPause", "BtnPrev"},
                                                         {"BtnStop", "BtnFastReverse"},
                                                         {"BtnNext", "BtnReverse"},
                                                         {"BtnBack5", "BtnPlay"}};

const char* const kTransport[] = {"BtnFirst", "BtnPrev", "BtnFastReverse", "BtnReverse", "BtnPlay",
                                  "BtnPause", "BtnStop", "BtnFastPlay",    "BtnNext",    "BtnLast"};

Box Centre(Box b, int size) {
    return Box{b.x + b.w / 2 - size / 2, b.y + b.h / 2 - size / 2, size, size};
}

// The last command of this number the recorder received, as its log line has it.
std::smatch LastCommand(Session& s, int command, std::string& log) {
    log = s.RecorderLog();
    const std::regex line("NETMSG command " + std::to_string(command) +
                          R"( arg0 (\d+) retcommand \d+ result \d+ arg1 (\d+) arg2 (\d+))");
    std::smatch last;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), line); it != std::sregex_iterator(); ++it)
        last = *it;
    if (last.empty()) Fail("the recorder received no command " + std::to_string(command));
    return last;
}

} // namespace

void RemoteTransportByItsButtons(Session& s) {
    s.Start();
    Client c(s);
    // Disconnected, the transport is the local one and can act: its look is the usable one.
    const Shot usable = s.Take("usable");
    c.Connect();
    c.Mode("btnSer_m");
    c.ExpectCommand(
        114, [&] { c.SearchDownToAMinute(); }, "the minute");
    c.WaitFourCameras("playing the minute");
    const Shot remote = s.Take("remote-transport");
    for (const auto& [button, place] : kRemotePlace) {
        const Box at = c.MainControl(place);
        const Box was = c.MainControl(button == "BtnBack5" ? "BtnPlay" : button);
        // Back 5 has a look of its own; the four others look as they did when they could act.
        if (button != "BtnBack5" && remote.Changed(usable, at, was.x, was.y) > 0.05)
            Fail(button + " does not show its usable look in the remote transport");
    }
    for (const char* hidden : {"BtnFastPlay", "BtnLast"})
        if (remote.Changed(usable, c.MainControl(hidden)) < 0.2)
            Fail(std::string(hidden) + " still shows in the remote transport");

    const auto click = [&](const std::string& button) { c.ClickMain(kRemotePlace.at(button)); };
    const auto still = [&](const std::string& after) {
        s.Pause(800);
        if (!c.Still(c.Screens())) Fail("the pictures go on after " + after);
    };
    c.ExpectCommand(
        123, [&] { click("BtnPause"); }, "PAUSE");
    still("PAUSE");
    c.ExpectCommand(
        124, [&] { click("BtnPlay"); }, "PLAY");
    if (!c.Moving(c.Screens())) Fail("the pictures stand still after PLAY");
    c.ExpectCommand(
        123, [&] { click("BtnNext"); }, "NEXT");
    still("NEXT");
    c.ExpectCommand(
        124, [&] { click("BtnPlay"); }, "PLAY after NEXT");
    c.ExpectCommand(
        114, [&] { click("BtnBack5"); }, "BACK 5");
    c.WaitFourCameras("after BACK 5");
    // STOP ends the playback and brings the minute table back for another minute.
    c.ExpectCommand(
        115, [&] { click("BtnStop"); }, "STOP");
    s.WaitWindow("MINUTE TABLE", 10000);
    still("STOP");
}

void BackupSpanFromTheHourMenu(Session& s) {
    s.Start();
    Client c(s);
    c.Connect();
    c.Mode("btnSer_m");
    Box cell;
    const Window hours = c.OpenHourTable(cell);
    const FormLayout hourForm("HourTable.dfm");
    const int x = cell.x + cell.w / 2, y = cell.y + cell.h / 2;
    // The menu is the selected hour's: the hour, then its start and its end.
    s.Click(x, y);
    c.PopupAt(x, y, hourForm, {"SetStartTime"});
    c.PopupAt(x, y, hourForm, {"SetEndTime"});
    const Shot span = s.Take("span");
    for (const char* label : {"lbStartTime", "lbEndTime"}) {
        const Box b = hourForm.Bounds(label);
        if (span.Ink(Box{hours.box.x + b.x, hours.box.y + b.y, b.w, b.h}) == 0)
            Fail(std::string("the hour table shows no ") + label);
    }
    c.ExpectCommand(
        125, [&] { s.ClickControl(hours, hourForm, "btnBackup"); }, "BACKUP");
    // The size asked for is the span of that one hour: from a whole hour to the next.
    std::string log;
    const std::smatch size = LastCommand(s, 125, log);
    const long long start = std::stoll(size[1]), end = std::stoll(size[2]);
    if (start % 3600 != 0 || end - start != 3600)
        Fail("the span asked for runs from " + size[1].str() + " to " + size[2].str() +
             ", not one whole hour");
    const Window backup = s.WaitWindow("BACKUP", 20000);
    s.Take("backup-window");
    // CANCEL goes back to the hour table.
    Session::Pause(1500);
    s.ClickControl(backup, FormLayout("Backup.dfm"), "btnCancel");
    if (!s.WaitGone("BACKUP", 5000)) Fail("CANCEL left the backup window up");
    s.WaitWindow("HOUR TABLE", 5000);
}

void OlderRecorderShowsWhatItCannotDo(Session& s) {
    s.Start({.recorderArgs = {"--sysinfo", "2"}});
    Client c(s);
    const Shot usable = s.Take("usable");
    c.Connect();
    // Logged in, the transport cannot act on anything: every button shows so.
    const Shot connected = s.Take("connected");
    for (const char* button : kTransport)
        if (connected.Changed(usable, Centre(c.MainControl(button), 16)) < 0.2)
            Fail(std::string(button) + " still looks usable while it cannot act");
    c.Mode("btnSer_m");
    Box cell;
    const Window minutes = c.OpenMinuteTable(cell);
    const FormLayout minuteForm("MinTable.dfm");
    const int x = cell.x + cell.w / 2, y = cell.y + cell.h / 2;
    s.Click(x, y);
    // No span can be set: the right button opens no menu, and BACKUP, disabled, says nothing.
    const Shot before = s.Take("selected");
    s.Click(x, y, 3);
    Session::Pause(500);
    if (s.Take("right-button").Changed(before, Box{x + 2, y + 2, 120, 40}) > 0.02)
        Fail("the right button opened a menu of spans that cannot be set");
    s.ClickControl(minutes, minuteForm, "btnBackup");
    if (c.Answer(c.Text(51000), "Return", 1500)) Fail("BACKUP asked for a span that cannot be set");
    c.ExpectCommand(
        114, [&] { s.ClickControl(minutes, minuteForm, "btnOk"); }, "the minute");
    c.WaitFourCameras("playing the minute");
    // The local transport stays, as it looked: a click on it sends nothing; the keys drive the playback.
    const Shot playing = s.Take("playing");
    if (playing.Changed(connected, c.MainControl("BtnFirst")) > 0.05)
        Fail("the transport changed its look for the playback");
    const int pauses = c.Commands(123);
    c.ClickMain("BtnPause");
    Session::Pause(1500);
    if (c.Commands(123) != pauses) Fail("PAUSE, shown as unusable, sent a pause");
    if (!c.Moving(c.Screens())) Fail("the pictures stopped at a click on the unusable PAUSE");
    c.ExpectCommand(
        123, [&] { s.Key("space"); }, "pause (space)");
}

} // namespace e2e
