// Roads on the recorder's link: logging in, live view, the remote search and its transport, the setup
// pages, the firmware upgrade and the log list.
#include "tests/e2e/Roads.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace e2e {

void ConnectAndLogIn(Session& s) {
    s.Start();
    Client c(s);
    const Box lamp = c.MainControl("ImgPoint");
    const Box connect = c.MainControl("BtnConnect");
    const Shot before = s.Take("before");
    c.Connect();
    if (s.RecorderLog().find("NETMSG command 102 arg0 1 ") == std::string::npos)
        Fail("the recorder received no administrator log-in (command 102, level 1)");
    const Shot after = s.Take("logged-in");
    if (after.Count(lamp, Tint{Tint::Green}) == 0) Fail("the link lamp did not turn green");
    if (after.Changed(before, connect) < 0.05) Fail("CONNECT did not give way to DISCONNECT");
    // Once disconnected there is no recorder to wait for: the power button ends the program at once.
    c.Disconnect();
    c.ClickMain("BtnPower");
    bool waitShown = false;
    int status = -1;
    Session::WaitFor(
        [&] {
            if (s.FindWindow("Wait")) waitShown = true;
            return (status = s.WaitClientEnd(0)) != -1;
        },
        1500);
    if (waitShown) Fail("the power button, disconnected, shows the window waiting for the recorder");
    if (status == -1) {
        s.Take("power-off");
        Fail("the power button, disconnected, did not end the program within 1.5 s");
    }
    if (status != 0) Fail("the program ended with status " + std::to_string(status));
}

namespace {

// The left and right ends of the text of this tint in the box; {0, 0} when there is none.
std::pair<int, int> TextEnds(const Shot& shot, Box box, Tint tint) {
    int left = 0, right = 0;
    for (const Box& g : shot.Groups(box, tint, 2, 3)) {
        if (left == right || g.x < left) left = g.x;
        right = std::max(right, g.Right());
    }
    return {left, right};
}

} // namespace

void LiveInFourAndOneScreens(Session& s) {
    // The recorder's own titles, other than the "CAMERA n" its frames carry in their side data.
    std::filesystem::create_directories(s.Store());
    std::ofstream(s.Store() + "/config.ini", std::ios::binary)
        << "[config]\r\n34_1_1=DOCK\r\n34_1_2=REAR\r\n34_1_3=LEFT\r\n34_1_4=RIGHT\r\n";
    s.Start();
    Client c(s);
    c.Connect();
    // The GPS text switched on: live frames carry a fix, but draw none.
    c.ScreenMenu({"MenuItemGPS", "MenuItemGPSON"});
    c.LiveOn();
    if (!c.Moving(c.Screens())) Fail("the live pictures stand still");
    // In blue, the overlays' colour at the first start, over camera 1's red picture.
    const Box title = c.QuadLabel("LabelCamera1"), gps = c.QuadLabel("LabelGPSdata1");
    for (int k = 0; k < 10; ++k) {
        const Shot shot = s.Take("live-titles");
        const auto [left, right] = TextEnds(shot, title, Tint{Tint::Blue});
        // "DOCK" is half as wide as "CAMERA 1".
        if (right - left < 15 || right - left > 45)
            Fail("screen 1 shows a title " + std::to_string(right - left) +
                 " pixels wide, not the recorder's DOCK");
        if (shot.Count(gps, Tint{Tint::Blue}) >= 30) Fail("a GPS text is drawn from a live frame");
        Session::Pause(150);
    }
    // One screen: camera 2 by its button fills the screens.
    c.ClickMain("BtnCamera2");
    if (!Session::WaitFor(
            [&] {
                const Shot shot = s.Take("camera2");
                return shot.Share(c.Screens(), CameraTint(2)) > 0.4 &&
                       shot.Share(c.Screens(), CameraTint(1)) < 0.01;
            },
            10000))
        Fail("camera 2 alone did not fill the screens");
    if (!c.Moving(c.Screens())) Fail("camera 2 alone stands still");
    // Back to four by the popup menu.
    c.ScreenMenu({"MenuItemQuad"});
    c.WaitFourCameras("back to four screens");
    c.ExpectCommand(
        113, [&] { c.ClickMain("BtnDislive"); }, "LIVE OFF");
    if (!c.Still(c.Screens())) Fail("the pictures go on after live view off");
    // Nothing of the stream stays: no title, mark or text over the black screens.
    const Shot off = s.Take("live-off");
    for (int camera = 1; camera <= 4; ++camera)
        if (off.Share(c.Quarter(camera), Tint{Tint::Dark}) < 0.999)
            Fail("live view off leaves something on screen " + std::to_string(camera));
}

void RemoteSearchDownToPlayback(Session& s) {
    s.Start();
    Client c(s);
    c.Connect();
    // Live view is off: leaving the live mode has nothing to stop, and asks nothing.
    c.ClickMain("btnSer_m");
    if (c.Answer(c.Text(59853), "Return", 1500)) Fail("the search tab asks to stop a live view that is off");
    s.Pause(1000);
    c.ExpectCommand(
        114, [&] { c.SearchDownToAMinute(); }, "the minute");
    c.WaitFourCameras("playing the minute");
    if (!c.Moving(c.Screens())) Fail("the played recording stands still");
    const auto still = [&](const std::string& after) {
        s.Pause(800);
        if (!c.Still(c.Screens())) Fail("the pictures go on after " + after);
    };
    const auto moving = [&](const std::string& after) {
        if (!c.Moving(c.Screens())) Fail("the pictures stand still after " + after);
    };
    // Pause with the space bar: the recorder is told and the pictures stop; Right plays on.
    c.ExpectCommand(
        123, [&] { s.Key("space"); }, "pause (space)");
    still("pause");
    c.ExpectCommand(
        124, [&] { s.Key("Right"); }, "play (Right)");
    moving("play");
    // A step while playing (Shift+Right) holds the next picture: the recorder pauses, the pictures
    // stop on one frame.
    c.ExpectCommand(
        123, [&] { s.Key("shift+Right"); }, "a step (Shift+Right)");
    still("a step");
    c.ExpectCommand(
        124, [&] { s.Key("Right"); }, "play after a step");
    moving("playing on from a step");
    // Five seconds back (Shift+Left) asks the recorder for an earlier time.
    c.ExpectCommand(
        114, [&] { s.Key("shift+Left"); }, "five seconds back (Shift+Left)");
    c.WaitFourCameras("after five seconds back");
    c.ExpectCommand(
        115, [&] { c.ClickMain("BtnDisser"); }, "STOP SEARCH");
    still("the search stopped");
}

void SetupPagesApplied(Session& s) {
    s.Start();
    Client c(s);
    c.Connect();
    Window menu = c.OpenSetupMenu();
    const FormLayout menuForm("Menu.dfm");
    // Opens a page by a button of `from`, then leaves it by one of its own buttons, back to `back`.
    const auto visit = [&](const Window& from, const FormLayout& fromForm, const std::string& button,
                           const std::string& caption, const std::string& file, const std::string& leave,
                           const std::string& back) {
        s.ClickControl(from, fromForm, button);
        const Window page = s.WaitWindow(caption, 20000);
        s.Take(file);
        s.ClickControl(page, FormLayout(file), leave);
        if (!s.WaitGone(caption, 10000)) Fail(caption + " stayed after " + leave);
        return s.WaitWindow(back, 10000);
    };
    // Every page the menu offers, opened and left. (Its NETWORK button lies below the window's client
    // area, out of the user's reach, as the window definition has it.)
    {
        s.ClickControl(menu, menuForm, "btnDevice");
        Window device = s.WaitWindow("DEVICE", 20000);
        const FormLayout deviceForm("Device.dfm");
        device = visit(device, deviceForm, "btnCamera", "DEVICE->CAMERA", "Camera.dfm", "btnPrev", "DEVICE");
        device = visit(device, deviceForm, "btnAlarm", "DEVICE->ALARM", "Alarm.dfm", "btnPrev", "DEVICE");
        s.ClickControl(device, deviceForm, "btnPrev");
        menu = s.WaitWindow("SETUP MENU", 10000);
    }
    {
        s.ClickControl(menu, menuForm, "btnRecord");
        const Window record = s.WaitWindow("RECORD", 20000);
        const FormLayout recordForm("Record2.dfm");
        s.ClickControl(record, recordForm, "btnSchedule");
        Window schedule = s.WaitWindow("SCHEDULE", 20000);
        const FormLayout scheduleForm("Schedule.dfm");
        // The time table and the holidays open with the schedule on; it is put back off on the way out.
        s.ClickControl(schedule, scheduleForm, "rbtOn");
        schedule = visit(schedule, scheduleForm, "btnTime_Table", "TIME TABLE", "TimeTable.dfm", "btnPrev",
                         "SCHEDULE");
        // The holidays are marked on the calendar, left by its third button.
        schedule =
            visit(schedule, scheduleForm, "btnHoliday", "CALENDAR", "Calendar.dfm", "btnLive", "SCHEDULE");
        s.ClickControl(schedule, scheduleForm, "rbtOff");
        s.ClickControl(schedule, scheduleForm, "btnPrev");
        const Window recordAgain = s.WaitWindow("RECORD", 10000);
        s.ClickControl(recordAgain, recordForm, "btnCancel");
        menu = s.WaitWindow("SETUP MENU", 10000);
    }
    menu = visit(menu, menuForm, "btnInfo", "INFORMATION", "Info.dfm", "btnPrev", "SETUP MENU");
    menu = visit(menu, menuForm, "btnLoglist", "LOG LIST", "Loglist.dfm", "btnExit", "SETUP MENU");

    // One value changed: the recorder's title on the system page.
    s.ClickControl(menu, menuForm, "btnSystem");
    const Window system = s.WaitWindow("SYSTEM", 20000);
    const FormLayout systemForm("System.dfm");
    s.ClickControl(system, systemForm, "edtTitle");
    // Ctrl+A selects the title to be typed over; no box refuses it as a character.
    const std::vector<std::string> titles = s.VisibleTitles();
    s.Key("ctrl+a");
    Session::Pause(300);
    for (const std::string& title : s.VisibleTitles())
        if (std::find(titles.begin(), titles.end(), title) == titles.end())
            Fail("Ctrl+A in the title field brought up \"" + title + "\"");
    s.Type("E2E ROAD");
    s.ClickControl(system, systemForm, "btnOk");
    menu = s.WaitWindow("SETUP MENU", 10000);

    // APPLY, confirmed (the question's box has the menu's caption).
    s.ClickControl(menu, menuForm, "btnOk");
    if (!Session::WaitFor(
            [&] {
                for (const Window& w : s.FindWindows("SETUP MENU"))
                    if (w.id != menu.id) return true;
                return false;
            },
            5000))
        Fail("APPLY asked no confirmation");
    Session::Pause(300);
    c.ExpectCommand(
        121, [&] { s.Key("Return"); }, "APPLY", 30000);
    // Read back from the recorder's own store.
    std::string config;
    Session::WaitFor(
        [&] {
            std::ifstream in(s.Store() + "/config.ini");
            std::ostringstream text;
            text << in.rdbuf();
            config = text.str();
            return config.find("27_1_1=E2E ROAD") != std::string::npos;
        },
        10000);
    if (config.find("27_1_1=E2E ROAD") == std::string::npos)
        Fail("the recorder's config.ini does not hold the new title (27_1_1=E2E ROAD)");
    if (!s.WaitGone("SETUP MENU", 10000)) Fail("the setup menu stayed after APPLY");
}

void FirmwareUpgrade(Session& s) {
    s.Start({.recorderArgs = {"--firmware-steps", "5", "--firmware-step-ms", "300"}});
    Client c(s);
    // An image of 300,000 bytes: seventy-odd blocks of the transfer.
    const std::string image = s.Work() + "/firmware.bin";
    {
        std::ofstream out(image, std::ios::binary);
        for (int k = 0; k < 300000; ++k)
            out.put(static_cast<char>(k * 7));
    }
    c.Connect();
    c.ClickMain("BtnUpgrade");
    c.Choose("Open", image);
    // The image named for confirmation, OK.
    if (!c.Answer("Confirm Firmware Upgrade", "Return", 10000))
        Fail("no confirmation of the image was asked");
    s.WaitWindow("Upgrade", 10000);
    // The recorder installs, reports its progress and restarts: the client says so.
    if (!c.Answer("Upload", "Return", 60000)) Fail("the end of the upgrade was not reported");
    const std::string log = s.RecorderLog();
    if (log.find(", 300000 bytes") == std::string::npos)
        Fail("the recorder did not receive the 300,000 bytes of the image");
    if (log.find("QELMSG msgid 525 ") == std::string::npos)
        Fail("the recorder was not asked to install the image");
    if (!s.WaitGone("Upgrade", 5000)) Fail("the progress window stayed");
    // The link went with the restart: CONNECT again.
    const Shot after = s.Take("after-upgrade");
    if (after.Count(c.MainControl("ImgPoint"), Tint{Tint::Green}) != 0)
        Fail("the link lamp stays green after the restart");
}

void LogListSavedAs(Session& s) {
    s.Start();
    Client c(s);
    c.Connect();
    const Window menu = c.OpenSetupMenu();
    s.ClickControl(menu, FormLayout("Menu.dfm"), "btnLoglist");
    const Window list = s.WaitWindow("LOG LIST", 30000);
    const std::string target = s.Work() + "/recorder-log.txt";
    s.ClickControl(list, FormLayout("Loglist.dfm"), "btnSaveAs");
    c.Choose("Save As", target);
    if (!Session::WaitFor([&] { return std::filesystem::exists(target); }, 5000))
        Fail("Save As wrote no " + target);
    std::ifstream in(target);
    std::string line, previous;
    int lines = 0;
    const std::regex row(R"(   \d{4}/\d{2}/\d{2}    \d{2}:\d{2}:\d{2}       .+\r?)");
    while (std::getline(in, line)) {
        ++lines;
        if (!std::regex_match(line, row)) Fail("a saved line is not a log line: \"" + line + "\"");
        // Newest first.
        if (!previous.empty() && line.substr(3, 21) > previous.substr(3, 21))
            Fail("the saved lines are not newest first");
        previous = line;
    }
    if (lines < 3) Fail("the saved log holds " + std::to_string(lines) + " lines");
}

} // namespace e2e
