// Roads on the recorder's link: logging in, live view, the remote search and its transport, the setup
// pages, the firmware upgrade and the log list.
#include "tests/e2e/Roads.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace e2e {

void ConnectAndLogIn(Session& s) {
    s.Start();
    Client c(s);
    // The About box goes with Enter and with Esc.
    const std::string about = c.Text(59967);
    for (const char* key : {"Return", "Escape"}) {
        c.ClickMain("BtnAbout");
        s.WaitWindow(about, 10000);
        Session::Pause(300);
        s.Key(key);
        if (!s.WaitGone(about, 5000)) Fail(std::string("the About box stayed after ") + key);
    }
    // The client log opens beside the main window: the video side at most, never the controls right of
    // the screens.
    {
        const Window main = c.Main();
        c.ClickMain("BtnLoglist");
        const Window log = s.WaitWindow("Harbek Log", 10000);
        s.Take("client-log");
        const Box screens = c.MainControl("PanelScreen");
        if (log.box.x < main.box.Right() && log.box.Right() > screens.Right())
            Fail("the client log covers the main window's controls");
        s.ClickControl(log, FormLayout("Syslog.dfm"), "BtnClose");
        if (!s.WaitGone("Harbek Log", 5000)) Fail("the client log stayed after its close button");
    }
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

namespace {

// The box of this caption over a window of the same caption (the camera page's boxes take the page's):
// waits for the second window, answers it with Enter; false when none came.
bool AnswerOver(Session& s, const std::string& caption, int ms = 5000) {
    if (!Session::WaitFor([&] { return s.FindWindows(caption).size() >= 2; }, ms)) return false;
    Session::Pause(200);
    s.Key("Return");
    if (!Session::WaitFor([&] { return s.FindWindows(caption).size() == 1; }, 5000))
        Fail("the box \"" + caption + "\" stayed after Return");
    return true;
}

// The recorder's own config.ini, as its store holds it now.
std::string StoredConfig(Session& s) {
    std::ifstream in(s.Store() + "/config.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Picks the entry of the drop-down list `steps` down (up when negative) from the shown one.
void PickInList(Session& s, const Window& w, const FormLayout& form, const std::string& list, int steps) {
    s.ClickControl(w, form, list);
    Session::Pause(300);
    for (int k = 0; k < std::abs(steps); ++k)
        s.Key(steps > 0 ? "Down" : "Up");
    s.Key("Return");
    Session::Pause(500);
}

} // namespace

void SetupPagesApplied(Session& s) {
    // Camera 2 of this recorder carries a title with a character the title fields refuse.
    std::filesystem::create_directories(s.Store());
    std::ofstream(s.Store() + "/config.ini", std::ios::binary) << "[config]\r\n34_1_2=X#2\r\n";
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
        {
            // Camera 2's title selected (the X selection) and copied (the clipboard); pasted into camera
            // 1's title by every way there is, it comes in as typing would bring it: without the "#",
            // and with the box that says so.
            s.ClickControl(device, deviceForm, "btnCamera");
            const Window camera = s.WaitWindow("DEVICE->CAMERA", 20000);
            const FormLayout cameraForm("Camera.dfm");
            PickInList(s, camera, cameraForm, "cmbCam", 1);
            s.ClickControl(camera, cameraForm, "edtTitle");
            s.Key("ctrl+a");
            s.Key("ctrl+c");
            PickInList(s, camera, cameraForm, "cmbCam", -1);
            s.ClickControl(camera, cameraForm, "edtTitle");
            const struct {
                const char* road;
                std::function<void()> paste;
            } roads[] = {{"Ctrl+V", [&] { s.Key("ctrl+v"); }},
                         {"Shift+Insert", [&] { s.Key("shift+Insert"); }},
                         {"the context menu",
                          [&] {
                              s.ClickControl(camera, cameraForm, "edtTitle", 3);
                              Session::Pause(400);
                              s.Take("title-menu");
                              s.Key("p");
                          }},
                         {"the middle button", [&] { s.ClickControl(camera, cameraForm, "edtTitle", 2); }}};
            for (const auto& road : roads) {
                road.paste();
                if (!AnswerOver(s, "DEVICE->CAMERA"))
                    Fail(std::string("a title pasted by ") + road.road + " was not refused its \"#\"");
            }
            s.Take("Camera.dfm");
            s.ClickControl(camera, cameraForm, "btnPrev");
            if (!s.WaitGone("DEVICE->CAMERA", 10000)) Fail("DEVICE->CAMERA stayed after btnPrev");
            device = s.WaitWindow("DEVICE", 10000);
        }
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
            config = StoredConfig(s);
            return config.find("27_1_1=E2E ROAD") != std::string::npos;
        },
        10000);
    if (config.find("27_1_1=E2E ROAD") == std::string::npos)
        Fail("the recorder's config.ini does not hold the new title (27_1_1=E2E ROAD)");
    // Four pastes of "X#2", each without its "#".
    if (config.find("34_1_1=X2X2X2X2\r") == std::string::npos ||
        config.find("34_1_2=X#2\r") == std::string::npos)
        Fail("camera titles after the pastes: " + config);
    if (!s.WaitGone("SETUP MENU", 10000)) Fail("the setup menu stayed after APPLY");
}

void SetupEditsKeptUntilApplied(Session& s) {
    // A recorder that takes the files but refuses to apply them.
    s.Start({.recorderArgs = {"--result", "121:2"}});
    Client c(s);
    c.Connect();
    c.LiveOn();
    const FormLayout menuForm("Menu.dfm");
    const Box title = c.MainControl("LabelCamera1");
    const auto titleInk = [&](const std::string& what) {
        return s.Take(what).Count(title, Tint{Tint::Blue});
    };
    const int inkBefore = titleInk("title-before");
    if (inkBefore < 20) Fail("camera 1 shows no title in live view");
    const std::string question = c.Text(59931), refused = c.Text(59872), kept = c.Text(60302);
    // APPLY, confirmed; the recorder refuses to apply, the box says so and the menu stays.
    const auto apply = [&](const Window& menu, const std::string& what) {
        s.ClickControl(menu, menuForm, "btnOk");
        if (!Session::WaitFor([&] { return s.FindWindows(question).size() >= 2; }, 5000))
            Fail(what + ": APPLY asked no confirmation");
        Session::Pause(300);
        c.ExpectCommand(
            121, [&] { s.Key("Return"); }, what, 30000);
        if (!c.Answer(refused, "Return", 10000)) Fail(what + ": the refusal was not told");
        return s.WaitWindow(question, 10000);
    };

    Window menu = c.OpenSetupMenu();
    // The recording page's OK sends the holidays and the schedule.
    s.ClickControl(menu, menuForm, "btnRecord");
    const Window record = s.WaitWindow("RECORD", 20000);
    s.ClickControl(record, FormLayout("Record2.dfm"), "btnOk");
    if (!s.WaitGone("RECORD", 15000)) Fail("the recording page stayed after OK");
    menu = s.WaitWindow(question, 10000);
    // Camera 1 renamed "G".
    s.ClickControl(menu, menuForm, "btnDevice");
    const Window device = s.WaitWindow("DEVICE", 20000);
    s.ClickControl(device, FormLayout("Device.dfm"), "btnCamera");
    const Window camera = s.WaitWindow("DEVICE->CAMERA", 20000);
    const FormLayout cameraForm("Camera.dfm");
    s.ClickControl(camera, cameraForm, "edtTitle");
    s.Key("ctrl+a");
    s.Type("G");
    s.ClickControl(camera, cameraForm, "btnPrev");
    s.ClickControl(s.WaitWindow("DEVICE", 10000), FormLayout("Device.dfm"), "btnPrev");
    menu = apply(s.WaitWindow(question, 10000), "the first APPLY");
    // The main window names the camera as the recorder applies it: not "G".
    const int inkAfter = titleInk("title-after-refusal");
    if (inkAfter < inkBefore * 2 / 3)
        Fail("the refused APPLY renamed camera 1 on the main window (title ink " + std::to_string(inkBefore) +
             " -> " + std::to_string(inkAfter) + ")");

    // The program goes and comes back; the next pass with this recorder says first that it brings the
    // edits back, and its APPLY tells the recorder to apply the schedule files too (121 with 7).
    s.RestartClient();
    c.Connect();
    c.Mode("btnLive_m");
    c.ClickMain("BtnSetup");
    if (!Session::WaitFor([&] { return s.FindWindow(kept).has_value(); }, 30000))
        Fail("the kept edits came back without a word");
    s.Take("kept-edits-box");
    if (s.FindWindow(question)) Fail("the menu showed before the kept edits were announced");
    c.Answer(kept);
    menu = s.WaitWindow(question, 10000);
    const std::regex apply7("NETMSG command 121 arg0 7 ");
    const auto count = [&](const std::regex& line) {
        const std::string log = s.RecorderLog();
        return std::distance(std::sregex_iterator(log.begin(), log.end(), line), std::sregex_iterator());
    };
    const auto sevens = count(apply7);
    menu = apply(menu, "the APPLY of the kept edits");
    if (count(apply7) != sevens + 1)
        Fail("the APPLY of the kept edits did not ask for the schedule files too");
    s.ClickControl(menu, menuForm, "btnCancel");
    if (!s.WaitGone(question, 10000)) Fail("the menu stayed after CANCEL");

    // The recorder holds what the refused APPLY sent: the next pass fetches config.ini again, with no
    // kept edits to announce.
    const std::regex fetch("NETMSG command 105 arg0 1 ");
    const auto fetches = count(fetch);
    c.ClickMain("BtnSetup");
    s.WaitWindow(question, 30000);
    if (s.FindWindow(kept)) Fail("CANCEL left edits to bring back");
    if (count(fetch) != fetches + 1) Fail("the pass after a refused APPLY did not fetch config.ini again");
    s.ClickControl(s.WaitWindow(question), menuForm, "btnCancel");
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
