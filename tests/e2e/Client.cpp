#include "tests/e2e/Client.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {

// Groups in reading order: top row first, left to right.
std::vector<Box> ReadingOrder(std::vector<Box> boxes) {
    std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
        if (std::abs(a.y - b.y) > 8) return a.y < b.y;
        return a.x < b.x;
    });
    return boxes;
}

Box Inside(const Window& w, Box b) {
    return Box{w.box.x + b.x, w.box.y + b.y, b.w, b.h};
}

// The first group of the tint in the box of the window, in reading order; fails when there is none.
Box FirstMark(Session& s, const Window& w, Box area, Tint tint, const std::string& what) {
    const Shot shot = s.Take(what);
    const std::vector<Box> marks = ReadingOrder(shot.Groups(Inside(w, area), tint, 2, 12));
    if (marks.empty()) Fail("no " + what + " is marked");
    return marks.front();
}

} // namespace

Tint CameraTint(int camera) {
    static const Tint tints[] = {{Tint::Red}, {Tint::Green}, {Tint::Blue}, {Tint::Yellow}};
    return tints[(camera - 1) & 3];
}

Box Client::MainControl(const std::string& name) {
    const Window w = Main();
    return Inside(w, main.Bounds(name));
}

void Client::ClickMain(const std::string& control, int button) {
    const Box b = MainControl(control);
    s.Click(b.x + b.w / 2, b.y + b.h / 2, button);
}

Box Client::Screens() {
    return MainControl("PanelScreen");
}

Box Client::Quarter(int camera) {
    const Box p = Screens();
    const int k = camera - 1;
    return Box{p.x + (k % 2) * p.w / 2 + 6, p.y + (k / 2) * p.h / 2 + 6, p.w / 2 - 12, p.h / 2 - 12};
}

Box Client::QuadLabel(const std::string& name) {
    const Box p = Screens();
    const int k = name.back() - '1';
    if (k < 0 || k > 3) Fail(name + " is not a label of one of the four screens");
    // Its place in its panel; the panels of the quarters in PAL, the standard of the roads' recorder,
    // are 344 by 283, a pixel apart.
    const Box label = main.Bounds(name), panel = main.Bounds("Panel" + std::to_string(k + 1));
    return Box{p.x + 1 + (k % 2) * 345 + label.x - panel.x, p.y + 1 + (k / 2) * 284 + label.y - panel.y,
               label.w, label.h};
}

void Client::Connect(const std::string& password) {
    ClickMain("BtnConnect");
    const Window d = s.WaitWindow("Connect");
    const FormLayout log("formlog.dfm");
    s.ClickControl(d, log, "ebIP");
    s.Key("ctrl+a");
    s.Type("127.0.0.1");
    s.ClickControl(d, log, "ebPort");
    s.Key("ctrl+a");
    s.Type(std::to_string(s.RecorderPort()));
    s.ClickControl(d, log, "mePassword");
    s.Type(password);
    s.ClickControl(d, log, "rbtAdmin");
    // The log-in ends with the recorder's status (command 109).
    ExpectCommand(
        109, [&] { s.ClickControl(d, log, "BtnOk"); }, "the log-in");
    if (!s.WaitGone("Connect")) Fail("the connect dialog stayed after OK");
    s.Pause(800);
}

void Client::Disconnect() {
    ClickMain("BtnDisconnect");
    Answer("Disconnect");
    s.Pause(1000);
}

void Client::Mode(const std::string& tab) {
    ClickMain(tab);
    Answer(Text(59853), "Return", 1500);
    s.Pause(1000);
}

void Client::LiveOn() {
    Mode("btnLive_m");
    ClickMain("BtnLive");
    WaitFourCameras("live view");
}

void Client::WaitFourCameras(const std::string& what) {
    const bool shown = Session::WaitFor(
        [&] {
            const Shot shot = s.Take("four");
            for (int c = 1; c <= 4; ++c)
                if (shot.Share(Quarter(c), CameraTint(c)) < 0.2) return false;
            return true;
        },
        20000);
    if (!shown) Fail(what + ": the four screens do not show the four cameras");
}

Window Client::OpenSetupMenu() {
    Mode("btnLive_m");
    ClickMain("BtnSetup");
    return s.WaitWindow(Text(59931), 30000);
}

void Client::ScreenMenu(std::initializer_list<std::string> path) {
    const Box p = Screens();
    PopupAt(p.x + p.w / 2, p.y + p.h / 2 + 40, main, path);
}

void Client::PopupAt(int x, int y, const FormLayout& form, std::initializer_list<std::string> path) {
    s.Click(x, y, 3);
    s.Pause(400);
    s.Take("popup-menu");
    bool first = true;
    for (const std::string& item : path) {
        // A menu opened by the pointer has no current item; a submenu opened by the keyboard starts on
        // its first one.
        const int downs = form.MenuIndex(item) + (first ? 1 : 0);
        for (int k = 0; k < downs; ++k)
            s.Key("Down");
        s.Key(&item == path.end() - 1 ? "Return" : "Right");
        first = false;
    }
    s.Pause(500);
}

void Client::Choose(const std::string& caption, const std::string& path) {
    s.WaitKeyboard(s.WaitWindow(caption));
    s.Take("chooser");
    // The name field has the focus; what it holds is replaced.
    s.Key("ctrl+a");
    s.Type(path);
    s.Pause(300);
    s.Key("Return");
    if (!s.WaitGone(caption, 5000)) {
        // A completion list that took the first Enter.
        s.Key("Return");
        if (!s.WaitGone(caption, 5000)) Fail("the chooser \"" + caption + "\" did not take " + path);
    }
}

bool Client::Answer(const std::string& caption, const std::string& key, int ms) {
    std::optional<Window> box;
    if (!Session::WaitFor([&] { return (box = s.FindWindow(caption)).has_value(); }, ms)) return false;
    s.WaitKeyboard(*box);
    s.Pause(200);
    s.Key(key);
    if (!s.WaitGone(caption, 5000)) Fail("the box \"" + caption + "\" stayed after " + key);
    return true;
}

Window Client::OpenHourTable(Box& hourCell) {
    ClickMain("BtnSer");
    const Window chooser = s.WaitWindow("SEARCH");
    s.ClickControl(chooser, FormLayout("SearchDevice.dfm"), "btnHDD");
    // The search options window, under the same caption, takes the chooser's place.
    std::optional<Window> options;
    Session::WaitFor(
        [&] {
            options = s.FindWindow("SEARCH");
            return options && options->id != chooser.id;
        },
        30000);
    if (!options || options->id == chooser.id) Fail("the search options did not follow the medium chooser");
    s.Pause(300);
    s.ClickControl(*options, FormLayout("Search.dfm"), "btnAll");

    const Window calendar = s.WaitWindow("CALENDAR", 30000);
    const FormLayout cal("Calendar.dfm");
    // Days with recordings are drawn red, days with events yellow.
    const Shot days = s.Take("calendar");
    std::vector<Box> marked = days.Groups(Inside(calendar, cal.Bounds("Panel1")), Tint{Tint::Yellow}, 3, 12);
    for (const Box& b : days.Groups(Inside(calendar, cal.Bounds("Panel1")), Tint{Tint::Red}, 3, 12))
        marked.push_back(b);
    marked = ReadingOrder(marked);
    if (marked.empty()) Fail("the calendar marks no day");
    s.Click(marked.front().x + marked.front().w / 2, marked.front().y + marked.front().h / 2);
    s.ClickControl(calendar, cal, "btnOk");

    const Window hours = s.WaitWindow("HOUR TABLE", 30000);
    const FormLayout hourForm("HourTable.dfm");
    hourCell =
        FirstMark(s, hours, Box{0, 0, hours.box.w, hourForm.Bounds("btnOk").y - 4}, Tint{Tint::Red}, "hour");
    return hours;
}

Window Client::OpenMinuteTable(Box& minuteCell) {
    Box hour;
    const Window hours = OpenHourTable(hour);
    s.Click(hour.x + hour.w / 2, hour.y + hour.h / 2);
    s.ClickControl(hours, FormLayout("HourTable.dfm"), "btnOk");

    const Window minutes = s.WaitWindow("MINUTE TABLE", 30000);
    const FormLayout minuteForm("MinTable.dfm");
    minuteCell = FirstMark(s, minutes, Box{0, 0, minutes.box.w, minuteForm.Bounds("btnOk").y - 4},
                           Tint{Tint::Red}, "minute");
    return minutes;
}

void Client::SearchDownToAMinute() {
    Box cell;
    const Window minutes = OpenMinuteTable(cell);
    s.Click(cell.x + cell.w / 2, cell.y + cell.h / 2);
    s.ClickControl(minutes, FormLayout("MinTable.dfm"), "btnOk");
    if (!s.WaitGone("MINUTE TABLE")) Fail("the minute table stayed after OK");
}

std::string Client::Text(int id) const {
    const char* code = language_ == 1041   ? "jpn"
                       : language_ == 1042 ? "kor"
                       : language_ == 3082 ? "esp"
                                           : "eng";
    const char* source = std::getenv("HARBEK_SOURCE");
    std::ifstream table(std::string(source ? source : ".") + "/resources/LANGUAGE/dll" + code + ".txt");
    const std::string key = std::to_string(id) + "\t";
    std::string line;
    while (std::getline(table, line))
        if (line.rfind(key, 0) == 0) return line.substr(key.size());
    Fail("the language table " + std::string(code) + " has no text " + std::to_string(id));
}

int Client::Commands(int command) {
    const std::string log = s.RecorderLog();
    const std::string needle = "NETMSG command " + std::to_string(command) + " ";
    int n = 0;
    for (std::size_t at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1))
        ++n;
    return n;
}

void Client::ExpectCommand(int command, const std::function<void()>& action, const std::string& what,
                           int ms) {
    const int before = Commands(command);
    action();
    if (!WaitCommand(command, before + 1, ms)) Fail(what + " sent no command " + std::to_string(command));
}

bool Client::WaitCommand(int command, int atLeast, int ms) {
    return Session::WaitFor([&] { return Commands(command) >= atLeast; }, ms);
}

bool Client::Moving(Box area, int ms) {
    const Shot a = s.Take("moving-a");
    s.Pause(ms);
    const Shot b = s.Take("moving-b");
    return b.Changed(a, area) > 0.01;
}

bool Client::Still(Box area, int ms) {
    const Shot a = s.Take("still-a");
    s.Pause(ms);
    const Shot b = s.Take("still-b");
    return b.Changed(a, area) < 0.002;
}

} // namespace e2e
