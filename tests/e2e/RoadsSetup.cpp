// The recorder's setup as a hand works it on a real display: every page opened through the pages' own
// buttons, each kind of control pressed (the button held a moment, then let go) or dragged in steps,
// then APPLY; and what the recorder then holds is checked against values written down here. A pass that
// only looks changes nothing the recorder holds.
#include "tests/e2e/Roads.h"

#include "tests/support/Display.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>

namespace e2e {
namespace {

// The recorder's own setup: a value off its page's default on every page, recording keys the pages
// never show, and CRLF lines as a recorder writes them.
const char kRecorderConfig[] = "[config]\r\n"
                               "1_1_1=2\r\n"
                               "5_1_1=1\r\n"
                               "9_2_1=1\r\n"
                               "13_2_1=3\r\n"
                               "14_2_2=4\r\n"
                               "15_2_1=1\r\n"
                               "18_2_1=1\r\n"
                               "43_2_1=1\r\n"
                               "60_1_1=1\r\n"
                               "21_1_2=1\r\n"
                               "23_1_4=1\r\n"
                               "24_1_1=5\r\n"
                               "25_1_1=70\r\n"
                               "25_1_3=30\r\n"
                               "26_1_2=80\r\n"
                               "34_1_1=FRONT\r\n"
                               "34_1_2=REAR\r\n"
                               "34_1_3=DOOR\r\n"
                               "34_1_4=CABIN\r\n"
                               "27_1_1=BUS 12\r\n"
                               "29_1_1=16820416\r\n"
                               "40_1_1=5000\r\n"
                               "45_1_1=2\r\n"
                               "52_1_1=6000\r\n"
                               "62_1_1=1\r\n"
                               "63_1_1=4\r\n"
                               "66_1_1=10\r\n"
                               "70_3_1=some recording value\r\n";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The X display the road's client draws on, read from the client's own environment (its home folder is
// the road's).
std::string ClientDisplay(Session& s) {
    const std::string home = "HARBEK_HOME=" + s.Home();
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string env = ReadFile(entry.path() / "environ");
        if (env.find(home + '\0') == std::string::npos) continue;
        const auto at = env.find(std::string("\0DISPLAY=", 9));
        if (at != std::string::npos) return env.substr(at + 9, env.find('\0', at + 9) - (at + 9));
    }
    Fail("the client's display was not found");
}

// ---- The setup windows and the hand that works them ----

enum class Page { Menu, System, Device, Camera, Alarm, Record, Schedule, TimeTable, Holiday, Info };

struct PageWay {
    Page page, parent;
    const char* caption;
    const char* form;
    const char* open;  // the parent's button that opens it
    const char* leave; // its own button back to the parent
};
const PageWay kPages[] = {
    {Page::System, Page::Menu, "SYSTEM", "System.dfm", "btnSystem", "btnOk"},
    {Page::Device, Page::Menu, "DEVICE", "Device.dfm", "btnDevice", "btnPrev"},
    {Page::Camera, Page::Device, "DEVICE->CAMERA", "Camera.dfm", "btnCamera", "btnPrev"},
    {Page::Alarm, Page::Device, "DEVICE->ALARM", "Alarm.dfm", "btnAlarm", "btnPrev"},
    {Page::Record, Page::Menu, "RECORD", "Record2.dfm", "btnRecord", "btnOk"},
    {Page::Schedule, Page::Record, "SCHEDULE", "Schedule.dfm", "btnSchedule", "btnPrev"},
    {Page::TimeTable, Page::Schedule, "TIME TABLE", "TimeTable.dfm", "btnTime_Table", "btnPrev"},
    // The holidays are marked on the search calendar, left by its third button.
    {Page::Holiday, Page::Schedule, "CALENDAR", "Calendar.dfm", "btnHoliday", "btnLive"},
    {Page::Info, Page::Menu, "INFORMATION", "Info.dfm", "btnInfo", "btnPrev"},
};

const PageWay& Way(Page page) {
    for (const PageWay& way : kPages)
        if (way.page == page) return way;
    Fail("no way to that page");
}

class Desk {
public:
    Desk(Session& s, Client& c) : s_(s), c_(c), display_(ClientDisplay(s)) {
        path_ = {Page::Menu};
        here_ = c.OpenSetupMenu();
    }

    // Through the pages' own buttons, up to the page both share and down again.
    void Go(Page page) {
        std::vector<Page> down;
        for (Page p = page; p != Page::Menu; p = Way(p).parent)
            down.insert(down.begin(), p);
        down.insert(down.begin(), Page::Menu);
        std::size_t shared = 0;
        while (shared < path_.size() && shared < down.size() && path_[shared] == down[shared])
            ++shared;
        while (path_.size() > shared) {
            const PageWay& way = Way(path_.back());
            Press(way.leave);
            if (!s_.WaitGone(way.caption, 20000))
                Fail(std::string(way.caption) + " stayed after " + way.leave);
            path_.pop_back();
            here_ = s_.WaitWindow(Caption(path_.back()), 20000);
        }
        for (std::size_t k = shared; k < down.size(); ++k) {
            Press(Way(down[k]).open);
            path_.push_back(down[k]);
            here_ = s_.WaitWindow(Caption(down[k]), 20000);
        }
    }

    // APPLY, confirmed; the recorder has been told to apply.
    void Apply() {
        Go(Page::Menu);
        const std::string menu = here_.id;
        Press("btnOk");
        if (!Session::WaitFor(
                [&] {
                    for (const Window& w : s_.FindWindows("SETUP MENU"))
                        if (w.id != menu) return true;
                    return false;
                },
                5000))
            Fail("APPLY asked no confirmation");
        Session::Pause(300);
        c_.ExpectCommand(
            121, [&] { s_.Key("Return"); }, "APPLY", 30000);
        if (!s_.WaitGone("SETUP MENU", 15000)) Fail("the setup menu stayed after APPLY");
    }

    // The control (a point in it; its middle by default) pressed with the button, held, let go.
    void Press(const std::string& control, int x = -1, int y = -1, int holdMs = 150, int button = 1) {
        const Box b = Form().Bounds(control);
        const int px = here_.box.x + b.x + (x < 0 ? b.w / 2 : x),
                  py = here_.box.y + b.y + (y < 0 ? b.h / 2 : y);
        Xdo({"mousemove", std::to_string(px), std::to_string(py)});
        Session::Pause(100);
        Xdo({"mousedown", std::to_string(button)});
        Session::Pause(holdMs);
        Xdo({"mouseup", std::to_string(button)});
        Session::Pause(250);
    }
    // Pressed at `fromX` of the control (at mid height), moved to `toX` in steps, let go.
    void Drag(const std::string& control, int fromX, int toX) {
        const Box b = Form().Bounds(control);
        const int y = here_.box.y + b.y + b.h / 2, x0 = here_.box.x + b.x;
        Xdo({"mousemove", std::to_string(x0 + fromX), std::to_string(y)});
        Session::Pause(100);
        Xdo({"mousedown", "1"});
        Session::Pause(150);
        const int steps = std::max(1, std::abs(toX - fromX) / 8);
        for (int k = 1; k <= steps; ++k) {
            Xdo({"mousemove", std::to_string(x0 + fromX + (toX - fromX) * k / steps), std::to_string(y)});
            Session::Pause(30);
        }
        Session::Pause(150);
        Xdo({"mouseup", "1"});
        Session::Pause(250);
    }
    // A drop-down list opened by the hand, the entry `steps` below (above when negative) the shown one.
    void Pick(const std::string& list, int steps) {
        Press(list);
        Session::Pause(300);
        for (int k = 0; k < std::abs(steps); ++k)
            s_.Key(steps > 0 ? "Down" : "Up");
        s_.Key("Return");
        Session::Pause(400);
    }
    // What the field holds replaced by typing.
    void Type(const std::string& edit, const std::string& text) {
        Press(edit);
        s_.Key("ctrl+a");
        s_.Type(text);
    }

private:
    static std::string Caption(Page page) { return page == Page::Menu ? "SETUP MENU" : Way(page).caption; }
    const FormLayout& Form() {
        const std::string file = path_.back() == Page::Menu ? "Menu.dfm" : Way(path_.back()).form;
        auto it = forms_.find(file);
        if (it == forms_.end()) it = forms_.emplace(file, FormLayout(file)).first;
        return it->second;
    }
    void Xdo(const std::vector<std::string>& args) {
        std::vector<std::string> argv{"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::string output;
        if (testing_support::RunProgram(argv, {"DISPLAY=" + display_}, &output) != 0)
            Fail("xdotool " + args.front() + " failed: " + output);
    }

    Session& s_;
    Client& c_;
    std::string display_;
    std::vector<Page> path_;
    Window here_;
    std::map<std::string, FormLayout> forms_;
};

// ---- What the recorder holds ----

// The recorder's store: its setup files as they are now.
struct Held {
    std::string config, schedule, holiday;
    static Held Of(Session& s) {
        return {ReadFile(s.Store() + "/config.ini"), ReadFile(s.Store() + "/schedule.dat"),
                ReadFile(s.Store() + "/holiday.ini")};
    }
};

// An INI file's keys and values, in no order.
std::map<std::string, std::string> Keys(const std::string& ini) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(ini);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

// The schedule's cells by day name and hour: "Wed 5", "Wed *" (the whole day), "* 12" (the hour of every
// day).
std::vector<std::size_t> Cells(const std::string& where) {
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun", "Hol"};
    const std::string day = where.substr(0, where.find(' ')), hour = where.substr(where.find(' ') + 1);
    std::vector<std::size_t> cells;
    for (int d = 0; d < 8; ++d)
        for (int h = 0; h < 24; ++h)
            if ((day == "*" || day == days[d]) && (hour == "*" || hour == std::to_string(h)))
                cells.push_back(4 + 24 * static_cast<std::size_t>(d) + static_cast<std::size_t>(h));
    return cells;
}

// A grid cell of the time table (its grid: cells 25 by 30 pixels, lines of 1, a border of 2).
std::pair<int, int> CellPoint(int day, int hour) {
    return {2 + 26 * hour + 12, 2 + 31 * day + 15};
}

// Today's month, as the holiday calendar opens on it.
int ThisMonth() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_mon + 1;
}

// The calendar's box of the 10th of this month: its cells run Sunday to Saturday from the weekday of the
// 1st.
std::string TenthOfThisMonth() {
    const std::time_t now = std::time(nullptr);
    std::tm first{};
    localtime_r(&now, &first);
    first.tm_mday = 1;
    first.tm_hour = 12;
    std::mktime(&first);
    return "PaintBox" + std::to_string(first.tm_wday + 10);
}

// One control driven, and what it leaves with the recorder after APPLY: the file, the key (a schedule's
// cells), the value written by hand ("" for a key that is not there, "a..b" for a number in that range).
// Rows without a file only move the hand on (a camera chosen).
struct ControlRow {
    Page page;
    const char* what;
    std::function<void(Desk&)> hand;
    const char* file;
    std::string key;
    std::string value;
};

// The camera page's scroll bars are 152 by 17: an arrow at each end, the thumb (26 wide) centred at
// 28 + 0.96 x its position.
const std::vector<ControlRow>& ControlRows() {
    static const std::vector<ControlRow> rows = {
        {Page::System, "title: typed over", [](Desk& d) { d.Type("edtTitle", "E2E 7"); }, "config.ini",
         "27_1_1", "E2E 7"},
        // The list shows the stored month 4 as "4".
        {Page::System, "start month: two entries down the list", [](Desk& d) { d.Pick("cmbStart_m", 2); },
         "config.ini", "63_1_1", "6"},
        {Page::System, "summer time: OFF", [](Desk& d) { d.Press("rbtOff"); }, "config.ini", "62_1_1", ""},

        {Page::Camera, "camera 1 brightness: one click on the right arrow",
         [](Desk& d) { d.Press("scbBri", 146, 8); }, "config.ini", "25_1_1", "71"},
        {Page::Camera, "camera 1 contrast: one click in the track left of the thumb",
         [](Desk& d) { d.Press("scbCon", 30, 8); }, "config.ini", "26_1_1", "40"},
        {Page::Camera, "camera 1 title: typed over", [](Desk& d) { d.Type("edtTitle", "GATE"); },
         "config.ini", "34_1_1", "GATE"},
        {Page::Camera, "camera 1 covert: ON", [](Desk& d) { d.Press("rbtCovertOn"); }, "config.ini", "23_1_1",
         "1"},
        {Page::Camera, "camera 1 sequence: two entries down the list", [](Desk& d) { d.Pick("cmbSeq", 2); },
         "config.ini", "24_1_1", "7"},
        {Page::Camera, "camera 2 chosen", [](Desk& d) { d.Pick("cmbCam", 1); }, nullptr, "", ""},
        {Page::Camera, "camera 2 brightness: the thumb dragged past the right end",
         [](Desk& d) { d.Drag("scbBri", 76, 200); }, "config.ini", "25_1_2", "100"},
        {Page::Camera, "camera 2 contrast: the thumb dragged past the left end",
         [](Desk& d) { d.Drag("scbCon", 105, -40); }, "config.ini", "26_1_2", "0"},
        {Page::Camera, "camera 3 chosen", [](Desk& d) { d.Pick("cmbCam", 1); }, nullptr, "", ""},
        // It repeats while held, and stops when let go: never down to 0.
        {Page::Camera, "camera 3 brightness: the left arrow held 1.2 s",
         [](Desk& d) { d.Press("scbBri", 6, 8, 1200); }, "config.ini", "25_1_3", "1..29"},
        // Camera 4 only visited: what it holds stays.
        {Page::Camera, "camera 4 chosen", [](Desk& d) { d.Pick("cmbCam", 1); }, nullptr, "", ""},

        {Page::Alarm, "camera 1 alarm input: NORMAL CLOSE", [](Desk& d) { d.Press("rbtClose"); },
         "config.ini", "21_1_1", "1"},
        {Page::Alarm, "camera 2 chosen", [](Desk& d) { d.Pick("cmbCam", 1); }, nullptr, "", ""},
        {Page::Alarm, "camera 2 alarm input: NORMAL OPEN", [](Desk& d) { d.Press("rbtOpen"); }, "config.ini",
         "21_1_2", ""},

        {Page::Record, "current group: one entry down the list", [](Desk& d) { d.Pick("cmbCur_group", 1); },
         "config.ini", "1_1_1", "3"},
        {Page::Record, "group 3 channel 1 MANUAL quality: LOW", [](Desk& d) { d.Press("rbtLow"); },
         "config.ini", "8_3_1", "0"},
        {Page::Record, "group 3 channel 1 EVENT duration: two entries down the list",
         [](Desk& d) { d.Pick("cmbDuration_e", 2); }, "config.ini", "14_3_1", "3"},
        {Page::Record, "overwrite: OFF", [](Desk& d) { d.Press("rbtOverOff"); }, "config.ini", "2_1_1", "0"},
        {Page::Record, "auto backup: EVENT", [](Desk& d) { d.Press("rbtBackupEvent"); }, "config.ini",
         "60_1_1", "2"},

        // The recorder's week: office hours 1, nights 2, holidays off.
        {Page::TimeTable, "Monday 0:00: the left button steps down",
         [](Desk& d) {
             const auto [x, y] = CellPoint(0, 0);
             d.Press("StringGrid", x, y);
         },
         "schedule.dat", "Mon 0", "1"},
        {Page::TimeTable, "Tuesday 5:00: the right button steps up",
         [](Desk& d) {
             const auto [x, y] = CellPoint(1, 5);
             d.Press("StringGrid", x, y, 150, 3);
         },
         "schedule.dat", "Tue 5", "3"},
        {Page::TimeTable, "12:00 of every day: its column button", [](Desk& d) { d.Press("Button12"); },
         "schedule.dat", "* 12", "2"},
        {Page::TimeTable, "Wednesday: its row button", [](Desk& d) { d.Press("btnWed"); }, "schedule.dat",
         "Wed *", "3"},
        {Page::Holiday, "the 10th of this month marked", [](Desk& d) { d.Press(TenthOfThisMonth()); },
         "holiday.ini", "54_" + std::to_string(ThisMonth()) + "_10", "1"},
        {Page::Schedule, "schedule: OFF", [](Desk& d) { d.Press("rbtOff"); }, "config.ini", "5_1_1", ""},
    };
    return rows;
}

bool InRange(const std::string& range, const std::string& value) {
    const auto dots = range.find("..");
    if (dots == std::string::npos || value.empty() ||
        value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int v = std::stoi(value);
    return v >= std::stoi(range.substr(0, dots)) && v <= std::stoi(range.substr(dots + 2));
}

void WriteRecorderSetup(Session& s) {
    std::filesystem::create_directories(s.Store());
    std::ofstream(s.Store() + "/config.ini", std::ios::binary) << kRecorderConfig;
}

} // namespace

// Every page and every camera visited and left by its OK or Prev, then APPLY: the recorder gets back
// exactly what it had.
void SetupVisitedChangesNothing(Session& s) {
    WriteRecorderSetup(s);
    s.Start();
    Client c(s);
    c.Connect();
    c.Mode("btnLive_m");
    const Held before = Held::Of(s);
    Desk d(s, c);
    d.Go(Page::System);
    for (Page page : {Page::Camera, Page::Alarm}) {
        d.Go(page);
        for (int camera = 2; camera <= 4; ++camera)
            d.Pick("cmbCam", 1);
        s.Take(page == Page::Camera ? "camera-4" : "alarm-4");
    }
    d.Go(Page::TimeTable);
    s.Take("time-table");
    d.Go(Page::Holiday);
    s.Take("holidays");
    d.Go(Page::Info);
    d.Apply();
    const Held after = Held::Of(s);
    if (after.config != before.config) Fail("a pass that only looked changed config.ini:\n" + after.config);
    if (after.schedule != before.schedule) Fail("a pass that only looked changed schedule.dat");
    if (after.holiday != before.holiday)
        Fail("a pass that only looked changed holiday.ini:\n" + after.holiday);
}

// Each control of each page driven by the hand, then APPLY: what the recorder holds is the table's, and
// everything the table does not name is the recorder's own.
void SetupEveryControlApplied(Session& s) {
    WriteRecorderSetup(s);
    s.Start();
    Client c(s);
    c.Connect();
    c.Mode("btnLive_m");
    const Held before = Held::Of(s);
    Desk d(s, c);
    for (const ControlRow& row : ControlRows()) {
        d.Go(row.page);
        row.hand(d);
        std::string name = row.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '-';
        s.Take(name);
    }
    d.Apply();
    const Held after = Held::Of(s);

    std::string wrong;
    std::map<std::string, std::string> config = Keys(before.config), holiday = Keys(before.holiday);
    std::string schedule = before.schedule;
    const std::map<std::string, std::string> gotConfig = Keys(after.config), gotHoliday = Keys(after.holiday);
    for (const ControlRow& row : ControlRows()) {
        if (row.file == nullptr) continue;
        const std::string file = row.file;
        if (file == "schedule.dat") {
            for (std::size_t cell : Cells(row.key))
                if (cell < schedule.size()) schedule[cell] = static_cast<char>(std::stoi(row.value));
            continue;
        }
        auto& expected = file == "config.ini" ? config : holiday;
        const auto& got = file == "config.ini" ? gotConfig : gotHoliday;
        const auto it = got.find(row.key);
        const std::string value = it == got.end() ? "" : it->second;
        if (row.value.find("..") != std::string::npos) {
            if (!InRange(row.value, value))
                wrong += std::string(row.what) + ": " + row.key + "=" + value + "\n";
            // In range: taken as it came, for the comparison of the rest.
            if (it != got.end()) expected[row.key] = value;
            continue;
        }
        if (row.value.empty())
            expected.erase(row.key);
        else
            expected[row.key] = row.value;
        if (value != row.value)
            wrong += std::string(row.what) + ": " + row.key + "=" + value + ", not " + row.value + "\n";
    }
    if (gotConfig != config) wrong += "config.ini beyond the table:\n" + after.config;
    if (gotHoliday != holiday) wrong += "holiday.ini beyond the table:\n" + after.holiday;
    if (after.schedule != schedule) wrong += "schedule.dat differs from the table\n";
    if (!wrong.empty()) Fail(wrong);
}

} // namespace e2e
