// Roads about what the screens look like: the overlays of a played recording, full mode and the four
// languages.
#include "tests/e2e/Roads.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace e2e {

void GpsOverlayOnEveryFrame(Session& s) {
    s.Start();
    Client c(s);
    // A recording of the recorder's store played on this computer: the vehicle's GPS in every camera's
    // frames.
    std::vector<fs::path> hours;
    for (const auto& entry : fs::directory_iterator(fs::path(s.Store()) / "avfiles"))
        if (entry.is_directory()) hours.push_back(entry.path());
    if (hours.empty()) Fail("the recorder's store holds no recordings");
    std::sort(hours.begin(), hours.end());
    c.ClickMain("BtnSearch");
    s.ClickControl(s.WaitWindow("LOCAL SEARCH"), FormLayout("LocalSearch.dfm"), "btnFile");
    c.Choose("Select a folder", hours.back().string());
    s.WaitWindow("PLAY LIST");
    c.ClickMain("BtnQuad");
    c.ScreenMenu({"MenuItemCOLOR", "MenuItemCOLORBLUE"});
    c.ClickMain("BtnPlay");
    c.WaitFourCameras("playing");

    // Blue text shows over the red, green and yellow cameras 1, 2 and 4.
    const Box gps[] = {c.QuadLabel("LabelGPSdata1"), c.QuadLabel("LabelGPSdata2"),
                       c.QuadLabel("LabelGPSdata3"), c.QuadLabel("LabelGPSdata4")};
    const auto texts = [&](const Shot& shot) {
        std::vector<int> screens;
        for (int k : {1, 2, 4})
            if (shot.Count(gps[k - 1], Tint{Tint::Blue}) >= 30) screens.push_back(k);
        return screens;
    };
    // Every picture sampled: a text that blinks out between the cameras' frames is seen.
    const auto expect = [&](const std::vector<int>& want, const std::string& what, int pictures) {
        for (int k = 0; k < pictures; ++k) {
            const std::vector<int> seen = texts(s.Take("gps"));
            if (seen != want) {
                std::string on;
                for (int screen : seen)
                    on += " " + std::to_string(screen);
                Fail(what + ": the GPS text shows on screens" + (on.empty() ? " none" : on) + " at picture " +
                     std::to_string(k + 1));
            }
            Session::Pause(150);
        }
    };
    expect({}, "the menu says GPS OFF", 5);
    c.ScreenMenu({"MenuItemGPS", "MenuItemGPSON"});
    expect({1}, "GPS ON in four screens", 20);
    // With TACHO ON as well, the tacho label over the GPS label's place stays empty: the GPS text's
    // ink is the same as without it.
    const auto ink = [&] {
        int sum = 0;
        for (int k = 0; k < 6; ++k) {
            sum += s.Take("ink").Count(gps[0], Tint{Tint::Blue});
            Session::Pause(100);
        }
        return sum / 6;
    };
    const int alone = ink();
    c.ScreenMenu({"MenuItemTACHO", "MenuItemTACHOON"});
    expect({1}, "GPS and TACHO ON", 5);
    const int withTacho = ink();
    if (withTacho > alone * 115 / 100)
        Fail("with TACHO ON the GPS text's place holds " + std::to_string(withTacho) + " blue pixels, not " +
             std::to_string(alone));
    c.ScreenMenu({"MenuItemGPS", "MenuItemGPSBR"});
    expect({4}, "GPS BOTTOM RIGHT", 5);

    // Connecting ends the local playback: black screens, no text of the recording over them.
    c.Connect();
    const Shot after = s.Take("connected");
    for (int camera = 1; camera <= 4; ++camera)
        if (after.Share(c.Quarter(camera), Tint{Tint::Dark}) < 0.999)
            Fail("after the connect something of the recording stays on screen " + std::to_string(camera));
}

namespace {

// The main window fills the display (full mode) or has the place and size of `skin`.
void WaitMainWindow(Session& s, Box want, const std::string& what) {
    if (!Session::WaitFor(
            [&] {
                const auto w = s.FindWindow("Harbek");
                return w && w->box.x == want.x && w->box.y == want.y && w->box.w == want.w &&
                       w->box.h == want.h;
            },
            10000))
        Fail(what);
    Session::Pause(800);
}

} // namespace

void FullModeAndBack(Session& s) {
    s.Start();
    Client c(s);
    const Window skin = c.Main();
    const Box display{0, 0, 1280, 1024};
    // The skin's own controls: the mode tabs, the buttons of the mode, the transport bar; in full mode
    // they would lie at the same places of the window, now at the display's corner.
    const struct {
        const char* name;
        const char* what;
    } controls[] = {{"btnLive_m", "the mode tabs"},
                    {"BtnConnect", "the mode's buttons"},
                    {"BtnPlay", "the transport bar"}};

    // With nothing to show yet: the screens are dark all over.
    const Shot idle = s.Take("skin-idle");
    s.Key("Return");
    WaitMainWindow(s, display, "full mode does not fill the display");
    const Shot dark = s.Take("full-idle");
    for (const auto& control : controls)
        if (dark.Share(c.main.Bounds(control.name), Tint{Tint::Dark}) < 0.9)
            Fail(std::string("full mode: ") + control.what + " float over the screens");
    s.Key("Escape");
    WaitMainWindow(s, skin.box, "skin mode does not bring the window back to its place and size");
    const Shot idleAgain = s.Take("skin-idle-again");
    for (const auto& control : controls)
        if (idleAgain.Changed(idle, c.MainControl(control.name)) > 0.05)
            Fail(std::string("skin mode: ") + control.what + " do not come back");
    const Box tabs = c.MainControl("btnLive_m");

    // Live: the four cameras over the whole display, and back.
    c.Connect();
    c.LiveOn();
    const Shot before = s.Take("skin-live");
    s.Key("Return");
    WaitMainWindow(s, display, "full mode does not fill the display in live view");
    const Shot full = s.Take("full-live");
    const Box quarters[] = {{0, 0, 640, 512}, {640, 0, 640, 512}, {0, 512, 640, 512}, {640, 512, 640, 512}};
    for (int camera = 1; camera <= 4; ++camera)
        if (full.Share(quarters[camera - 1], CameraTint(camera)) < 0.2)
            Fail("full mode: camera " + std::to_string(camera) + " does not fill its quarter of the display");
    // Where the controls would lie now the video shows, nothing like the controls as the skin drew
    // them: a floating control matches its skin picture all but wholly, the video there (dark bands
    // pass, so no tint is asked) in over half its pixels.
    for (const auto& control : controls) {
        const Box at = c.main.Bounds(control.name);
        if (full.Changed(before, at, skin.box.x + at.x, skin.box.y + at.y) < 0.2)
            Fail(std::string("full mode: ") + control.what + " float over the video");
    }
    s.Key("Escape");
    WaitMainWindow(s, skin.box, "skin mode does not come back from live full mode");
    const Shot back = s.Take("skin-live-again");
    if (back.Changed(before, tabs) > 0.05) Fail("skin mode: the mode tabs do not come back in live view");
    if (back.Share(c.Quarter(1), CameraTint(1)) < 0.2) Fail("skin mode: camera 1 is not on screen 1");
}

namespace {

// Characters drawn as empty boxes: none may show in the window.
void NoEmptyBoxes(Session& s, const Window& w, const std::string& what) {
    const std::vector<Box> boxes = s.Take(what).EmptyGlyphBoxes(w.box);
    if (!boxes.empty())
        Fail(what + ": " + std::to_string(boxes.size()) + " characters drawn as empty boxes, the first at " +
             std::to_string(boxes.front().x) + "," + std::to_string(boxes.front().y));
}

// Ink in the control's box: its text is drawn at all.
void TextDrawn(Session& s, const Window& w, const FormLayout& form, const std::string& control) {
    const Box b = form.Bounds(control);
    if (s.Take(control).Ink(Box{w.box.x + b.x, w.box.y + b.y, b.w, b.h}) < 15)
        Fail(control + " shows no text");
}

// A message box of the language, with one of the captions: text drawn, no empty boxes; closed with Return.
void LanguageBox(Session& s, const Client& c, std::initializer_list<int> captions, const std::string& what) {
    Window box;
    std::string title;
    const bool shown = Session::WaitFor(
        [&] {
            for (int caption : captions)
                for (const Window& w : s.FindWindows(c.Text(caption))) {
                    box = w;
                    title = c.Text(caption);
                    return true;
                }
            return false;
        },
        30000);
    if (!shown) Fail(what + ": no box came");
    Session::Pause(300);
    if (s.Take(what).Ink(box.box) < 200) Fail(what + ": the box shows no text");
    NoEmptyBoxes(s, box, what);
    s.Key("Return");
    if (!s.WaitGone(title, 10000)) Fail(what + ": the box stayed after Return");
}

// The connect dialog, the setup menu and two boxes in the language: no recorder disk on this computer,
// and an APPLY the recorder refuses. Texts drawn, no empty boxes.
void LanguageRoad(Session& s, int languageId) {
    s.Start({.recorderArgs = {"--result", "104:0"}, .languageId = languageId});
    Client c(s, languageId);
    // What the search finds depends on this computer's disks: none (the no-disk box), or volumes it may
    // not use, such as the system disk's (the failure box).
    c.ClickMain("BtnDetectUsb");
    LanguageBox(s, c, {50486, 59886}, "no-recorder-disk");

    c.ClickMain("BtnConnect");
    const Window dialog = s.WaitWindow("Connect");
    const FormLayout log("formlog.dfm");
    for (const char* label : {"LabelIP", "LabelPort", "LabelPassword"})
        TextDrawn(s, dialog, log, label);
    NoEmptyBoxes(s, dialog, "connect-dialog");
    s.ClickControl(dialog, log, "BtnCancel");
    if (!s.WaitGone("Connect")) Fail("the connect dialog stayed after CANCEL");

    c.Connect();
    const Window menu = c.OpenSetupMenu();
    const FormLayout menuForm("Menu.dfm");
    for (const char* button : {"btnDevice", "btnRecord", "btnSystem", "btnLoglist", "btnInfo"})
        TextDrawn(s, menu, menuForm, button);
    NoEmptyBoxes(s, menu, "setup-menu");

    // APPLY, confirmed; the question's box has the menu's caption.
    s.ClickControl(menu, menuForm, "btnOk");
    if (!Session::WaitFor(
            [&] {
                for (const Window& w : s.FindWindows(c.Text(59931)))
                    if (w.id != menu.id) return true;
                return false;
            },
            5000))
        Fail("APPLY asked no confirmation");
    Session::Pause(300);
    s.Key("Return");
    LanguageBox(s, c, {59872}, "upload-refused");
}

} // namespace

void LanguageEnglish(Session& s) {
    LanguageRoad(s, 1033);
}

void LanguageJapanese(Session& s) {
    LanguageRoad(s, 1041);
}

void LanguageKorean(Session& s) {
    LanguageRoad(s, 1042);
}

void LanguageSpanish(Session& s) {
    LanguageRoad(s, 3082);
}

// The check above can fail: with fontconfig shown only DejaVu, the Japanese texts are empty boxes.
void EmptyBoxesSeenWithoutCjkFonts(Session& s) {
    const std::string config = s.Work() + "/fonts.conf";
    {
        std::ofstream out(config);
        out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
            << "  <dir>/usr/share/fonts/truetype/dejavu</dir>\n  <cachedir>" << s.Work()
            << "/fontcache</cachedir>\n"
            << "</fontconfig>\n";
    }
    s.Start({.recorder = false, .languageId = 1041, .clientEnv = {"FONTCONFIG_FILE=" + config}});
    Client c(s, 1041);
    c.ClickMain("BtnConnect");
    const Window dialog = s.WaitWindow("Connect");
    const std::vector<Box> boxes = s.Take("connect-dialog").EmptyGlyphBoxes(dialog.box);
    // "アドレス", "ポート", "パスワード", "管理者", "ユーザー": twenty characters.
    if (boxes.size() < 15)
        Fail("only " + std::to_string(boxes.size()) + " empty boxes seen without Japanese fonts");
}

} // namespace e2e
