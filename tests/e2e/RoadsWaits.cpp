// Roads where the client waits for the recorder and the wait is cut short: by the link going, or by a
// press of the user while the recorder holds its reply. What the user then meets is checked: the boxes,
// the windows left, the files on this computer and what the recorder received.
#include "tests/e2e/Roads.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace e2e {

namespace {

// What the file holds; empty while there is none.
std::string FileBytes(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec) ? testing_support::ReadFileBytes(path) : std::string();
}

// How many lines of the recorder's log match.
long LogLines(Session& s, const std::string& pattern) {
    const std::string log = s.RecorderLog();
    const std::regex line(pattern);
    return std::distance(std::sregex_iterator(log.begin(), log.end(), line), std::sregex_iterator());
}

long Uploads(Session& s, int kind) {
    return LogLines(s, "UPLOAD kind " + std::to_string(kind) + ",");
}

// The shown windows other than these.
std::vector<std::string> OthersThan(Session& s, const std::vector<std::string>& expected) {
    std::vector<std::string> others;
    for (const std::string& title : s.VisibleTitles())
        if (std::find(expected.begin(), expected.end(), title) == expected.end()) others.push_back(title);
    return others;
}

// For `ms`, no window shows but these; fails naming the first other one.
void OnlyThese(Session& s, const std::vector<std::string>& expected, int ms, const std::string& when) {
    std::vector<std::string> others;
    Session::WaitFor([&] { return !(others = OthersThan(s, expected)).empty(); }, ms);
    if (!others.empty()) {
        s.Take("unexpected-window");
        Fail(when + ": the window \"" + others.front() + "\" showed");
    }
}

} // namespace

void DatabaseDownloadCutByTheLink(Session& s) {
    // The database leaves in small pieces, so the link goes while it is still on its way.
    s.Start({.recorderArgs = {"--slow-file", "128:100"}, .clientEnv = {}, .control = true});
    Client c(s);
    // The local look, disconnected: what the tabs and the buttons beside them show again once the link
    // is gone.
    const Shot idle = s.Take("idle");
    const std::vector<std::string> look = {"btnLocal_m", "btnLive_m", "btnSer_m", "BtnConnect", "BtnSer"};
    c.Connect();
    c.Mode("btnSer_m");
    c.ClickMain("BtnSer");
    const Window chooser = s.WaitWindow("SEARCH");
    s.ClickControl(chooser, FormLayout("SearchDevice.dfm"), "btnHDD");
    if (!Session::WaitFor([&] { return LogLines(s, "NETMSG command 105 arg0 4 ") == 1; }, 15000))
        Fail("HDD asked the recorder for no database");
    s.WaitWindow("DOWNLOAD", 15000);
    Session::Pause(1000);
    s.Take("downloading");
    if (!s.FindWindow("DOWNLOAD")) Fail("the download ended before the link went");

    s.Control("drop");
    const std::string lost = c.Text(59878);
    if (!Session::WaitFor([&] { return s.FindWindow(lost).has_value(); }, 20000))
        Fail("no box told that the link was lost");
    Session::Pause(500);
    s.Take("link-lost-box");
    if (s.FindWindows(lost).size() != 1) Fail("the link loss was told in more than one box");
    OnlyThese(s, {"Harbek", lost}, 0, "with the link-lost box");
    c.Answer(lost);

    // Nothing follows the box: no box of the download's own, no medium chooser again.
    OnlyThese(s, {"Harbek"}, 6000, "after the link-lost box");
    const Shot after = s.Take("local-look");
    if (after.Count(c.MainControl("ImgPoint"), Tint{Tint::Green}) != 0) Fail("the link lamp stays green");
    for (const std::string& control : look)
        if (after.Changed(idle, c.MainControl(control)) > 0.02)
            Fail("after the link loss " + control + " does not show as in the local look before connecting");

    // The recorder is there again: a new connect brings live pictures.
    c.Connect();
    c.LiveOn();
    if (!c.Moving(c.Screens())) Fail("after the reconnect the live pictures stand still");
}

void RecordingOkCancelledWhileHeld(Session& s) {
    s.Start({.recorderArgs = {}, .clientEnv = {}, .control = true});
    Client c(s);
    c.Connect();
    Window menu = c.OpenSetupMenu();
    const std::string menuCaption = c.Text(59931), uploadCaption = c.Text(59872);
    const FormLayout menuForm("Menu.dfm"), recordForm("Record2.dfm"), scheduleForm("Schedule.dfm");
    // The holidays as the recorder sent them for this setup pass.
    const std::string holiday = s.Home() + "/holiday.ini";
    const std::string before = FileBytes(holiday);
    if (before.empty()) Fail("the setup pass brought no holiday.ini");

    // A holiday marked on the recording page's schedule: a day of the calendar's third row, a day in
    // every month. The schedule is put back off, so the page's own table stays as it was.
    s.ClickControl(menu, menuForm, "btnRecord");
    Window record = s.WaitWindow("RECORD", 20000);
    s.ClickControl(record, recordForm, "btnSchedule");
    Window schedule = s.WaitWindow("SCHEDULE", 20000);
    s.ClickControl(schedule, scheduleForm, "rbtOn");
    s.ClickControl(schedule, scheduleForm, "btnHoliday");
    const Window calendar = s.WaitWindow("CALENDAR", 20000);
    const FormLayout calendarForm("Calendar.dfm");
    s.ClickControl(calendar, calendarForm, "PaintBox15");
    if (!Session::WaitFor([&] { return FileBytes(holiday) != before; }, 5000))
        Fail("marking a holiday left holiday.ini as it was");
    const std::string edited = FileBytes(holiday);
    s.Take("holiday-marked");
    s.ClickControl(calendar, calendarForm, "btnLive");
    schedule = s.WaitWindow("SCHEDULE", 10000);
    s.ClickControl(schedule, scheduleForm, "rbtOff");
    s.ClickControl(schedule, scheduleForm, "btnPrev");
    record = s.WaitWindow("RECORD", 10000);

    // The recorder takes the files but holds its replies: OK waits after the holidays.
    s.Control("hold 104");
    s.ClickControl(record, recordForm, "btnOk");
    if (!Session::WaitFor([&] { return Uploads(s, 6) == 1; }, 10000)) Fail("OK sent no holiday.ini");
    if (LogLines(s, "UPLOAD kind 6, " + std::to_string(edited.size()) + " bytes") != 1)
        Fail("the recorder received other holidays than the edited ones");
    // CANCEL while OK waits is refused, as every press that would change work is while a wait pumps: the
    // page stays, and no box is up yet.
    s.ClickControl(record, recordForm, "btnCancel");
    s.Take("cancel-while-waiting");
    if (s.FindWindow(uploadCaption)) Fail("OK gave up before CANCEL could be pressed in its wait");
    if (!s.FindWindow("RECORD")) Fail("CANCEL closed the page while its OK waited");
    // The OK's time runs out: one box says the recorder did not answer, over the page, which is open.
    if (!Session::WaitFor([&] { return s.FindWindow(uploadCaption).has_value(); }, 15000))
        Fail("no box told that the recorder did not answer the upload");
    Session::Pause(500);
    s.Take("no-answer-box");
    if (!s.FindWindow("RECORD")) Fail("the upload's box shows over a closed page");
    OnlyThese(s, {"Harbek", "RECORD", uploadCaption}, 0, "with the upload's box");
    c.Answer(uploadCaption);
    record = s.WaitWindow("RECORD", 5000);
    if (Uploads(s, 3) != 0) Fail("schedule.dat went to the recorder after the holidays were not answered");

    // CANCEL now takes the edits back: the holidays as the recorder sent them.
    s.ClickControl(record, recordForm, "btnCancel");
    if (!s.WaitGone("RECORD", 10000)) Fail("CANCEL did not close the page");
    menu = s.WaitWindow(menuCaption, 10000);
    if (FileBytes(holiday) != before) Fail("CANCEL did not put holiday.ini back");
    if (fs::exists(s.Home() + "/temp_holiday.ini")) Fail("CANCEL left the copy of holiday.ini");
    // The held reply comes late: nothing follows it, and the holidays stay as they were.
    s.Control("release 104");
    OnlyThese(s, {"Harbek", menuCaption}, 4000, "after the late reply");
    s.Take("after-late-reply");
    if (FileBytes(holiday) != before) Fail("the late reply brought the cancelled holiday.ini back");

    // APPLY sends config.ini and tells the recorder to apply it alone: not the cancelled holidays.
    s.ClickControl(menu, menuForm, "btnOk");
    if (!Session::WaitFor([&] { return s.FindWindows(menuCaption).size() >= 2; }, 5000))
        Fail("APPLY asked no confirmation");
    Session::Pause(300);
    c.ExpectCommand(
        121, [&] { s.Key("Return"); }, "APPLY", 30000);
    if (LogLines(s, "NETMSG command 121 arg0 4 ") != 1)
        Fail("APPLY after the cancelled holidays did not ask for config.ini alone (121 with 4)");
    if (Uploads(s, 1) != 1 || Uploads(s, 6) != 1 || Uploads(s, 3) != 0)
        Fail("the recorder received other uploads than the holidays before CANCEL and config.ini");
    if (!s.WaitGone(menuCaption, 10000)) Fail("the setup menu stayed after APPLY");
    OnlyThese(s, {"Harbek"}, 2000, "after APPLY");
}

} // namespace e2e
