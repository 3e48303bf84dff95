// Roads of a user's session: several roads one after another in one run of the client, where what one
// leaves behind meets the next.
#include "tests/e2e/Roads.h"
#include "tests/support/Display.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace e2e {

namespace {

// A recording of the other standard than the recorder's (NTSC), made by the store generator: one hour
// folder holding one recording of half a minute. Returns that folder.
fs::path NtscRecording(Session& s) {
    const char* binary = std::getenv("HARBEK_BINARY");
    const std::string out = s.Work() + "/ntsc";
    std::string output;
    const int rc = testing_support::RunProgram({std::string(binary ? binary : ".") + "/tools/recgen/recgen",
                                                "--out", out, "--days", "1", "--hours", "12", "--seconds",
                                                "30", "--standard", "ntsc"},
                                               {}, &output);
    if (rc != 0) Fail("the store generator failed: " + output);
    for (const auto& entry : fs::directory_iterator(out + "/avfiles"))
        if (entry.is_directory()) return entry.path();
    Fail("the store generator wrote no hour folder");
}

// A control of the bar under the screens as the window now lies: the form places it for PAL; a window
// with the NTSC skin holds the bar 94 pixels higher.
Box BarControl(Client& c, const std::string& name) {
    Box b = c.MainControl(name);
    if (c.Main().box.h == c.main.Bounds("ImgFrame3").h) b.y -= 677 - 583;
    return b;
}

// The screens as the window now lies: 473 pixels high with the NTSC skin.
Box ScreensNow(Client& c) {
    Box b = c.Screens();
    if (c.Main().box.h == c.main.Bounds("ImgFrame3").h) b.h = 473;
    return b;
}

void ClickBar(Session& s, Client& c, const std::string& name) {
    const Box b = BarControl(c, name);
    s.Click(b.x + b.w / 2, b.y + b.h / 2);
}

// The folder opened from the local search's FILE choice; the play list shows.
void OpenFolder(Session& s, Client& c, const fs::path& folder) {
    ClickBar(s, c, "BtnSearch");
    s.ClickControl(s.WaitWindow("LOCAL SEARCH"), FormLayout("LocalSearch.dfm"), "btnFile");
    c.Choose("Select a folder", folder.string());
    s.WaitWindow("PLAY LIST");
}

// Nothing of a stream that ended stays on the screens: every quarter is black.
void ScreensBlack(Session& s, Client& c, const std::string& after) {
    Session::Pause(800);
    const Shot shot = s.Take("black");
    for (int camera = 1; camera <= 4; ++camera)
        if (shot.Share(c.Quarter(camera), Tint{Tint::Dark}) < 0.999)
            Fail("after " + after + " something stays on screen " + std::to_string(camera));
}

// Local playback of the folder by its transport: PLAY runs the pictures, STOP halts them, PLAY runs them
// again and FAST changes the speed shown.
void TransportPlays(Session& s, Client& c, const std::string& when) {
    const Box screens = ScreensNow(c);
    ClickBar(s, c, "BtnPlay");
    if (!Session::WaitFor([&] { return s.Take("playing").Share(screens, CameraTint(1)) > 0.05; }, 10000))
        Fail(when + ": PLAY shows no picture of camera 1");
    if (!c.Moving(screens)) Fail(when + ": PLAY, the pictures stand still");
    ClickBar(s, c, "BtnStop");
    Session::Pause(500);
    if (!c.Still(screens)) Fail(when + ": STOP, the pictures go on");
    ClickBar(s, c, "BtnPlay");
    Session::Pause(500);
    if (!c.Moving(screens)) Fail(when + ": PLAY after STOP, the pictures stand still");
    const Box speed = BarControl(c, "Label1");
    const Shot normal = s.Take("normal-speed");
    ClickBar(s, c, "BtnFastPlay");
    Session::Pause(800);
    if (s.Take("fast").Changed(normal, speed) < 0.02) Fail(when + ": FAST, the speed shown stays");
    ClickBar(s, c, "BtnPause");
}

} // namespace

void LocalThenRecorderThenLocal(Session& s) {
    s.Start();
    Client c(s);
    const fs::path ntsc = NtscRecording(s);
    const FormLayout& form = c.main;

    // A fresh run plays a recording of the other standard: the window takes that standard's skin, and
    // camera 1's picture stays inside the screens, above the position slider and the transport bar.
    OpenFolder(s, c, ntsc);
    ClickBar(s, c, "BtnPlay");
    const Box screens = ScreensNow(c);
    if (!Session::WaitFor([&] { return s.Take("ntsc").Share(screens, CameraTint(1)) > 0.15; }, 10000))
        Fail("the recording of the other standard shows no picture of camera 1");
    const Window main = c.Main();
    const int skinHeight = form.Bounds("ImgFrame3").h;
    if (main.box.h != skinHeight)
        Fail("the window is " + std::to_string(main.box.h) + " pixels high, not the other standard's " +
             std::to_string(skinHeight));
    // The screens of that standard end 24 + 473 pixels down the window; below lie the slider and the bar.
    const Box below{main.box.x, main.box.y + 24 + 473 + 2, main.box.w, main.box.h - 24 - 473 - 2};
    const double over = s.Take("transport-bar").Share(below, CameraTint(1));
    if (over > 0.01)
        Fail("camera 1's picture covers " + std::to_string(static_cast<int>(over * 100)) +
             "% of the slider and the transport bar");
    // The vehicle's GPS over camera 1, in the overlays' blue.
    c.ScreenMenu({"MenuItemGPS", "MenuItemGPSON"});
    const Box gps = c.QuadLabel("LabelGPSdata1");
    if (!Session::WaitFor([&] { return s.Take("gps").Count(gps, Tint{Tint::Blue}) >= 30; }, 5000))
        Fail("the played recording shows no GPS text over camera 1");
    ClickBar(s, c, "BtnPause");

    // The recorder: live view, then the remote search of a minute, each stopped; nothing stays on the
    // black screens, neither of the streams nor of the recording played before.
    c.Connect();
    c.LiveOn();
    c.ExpectCommand(
        113, [&] { c.ClickMain("BtnDislive"); }, "LIVE OFF");
    ScreensBlack(s, c, "live view off");
    c.Mode("btnSer_m");
    c.ExpectCommand(
        114, [&] { c.SearchDownToAMinute(); }, "the minute");
    c.WaitFourCameras("playing the minute");
    c.ExpectCommand(
        115, [&] { c.ClickMain("BtnDisser"); }, "STOP SEARCH");
    ScreensBlack(s, c, "STOP SEARCH");
    // The disconnect button is the local tab's.
    c.Mode("btnLocal_m");
    c.Disconnect();

    // The same folder again, after the link: its transport plays it as in a fresh run.
    OpenFolder(s, c, ntsc);
    TransportPlays(s, c, "after a remote playback and a disconnect");
    // A connect and a disconnect alone, and once more.
    c.Connect();
    c.Disconnect();
    OpenFolder(s, c, ntsc);
    TransportPlays(s, c, "after a connect and a disconnect");
}

} // namespace e2e
