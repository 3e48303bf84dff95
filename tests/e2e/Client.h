// The client's windows as a user meets them: where to click for the common steps (connecting, the
// mode tabs, the screens' popup menu, the search windows), and what the screens show.
#pragma once

#include "tests/e2e/FormLayout.h"
#include "tests/e2e/Session.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace e2e {

// The synthetic cameras paint camera 1 red, 2 green, 3 blue and 4 yellow.
Tint CameraTint(int camera);

class Client {
public:
    // The client as started in this language (its language id).
    explicit Client(Session& session, int languageId = 1033) : s(session), language_(languageId) {}

    Session& s;
    const FormLayout main{"main.dfm"};

    Window Main() { return s.WaitWindow("Harbek"); }
    // The screen panel, a quarter of it (camera 1..4 in the four-screen layout), on the display.
    Box Screens();
    Box Quarter(int camera);
    // A label of a screen's panel (LabelCamera2, LabelGPSdata4, ...) in the four-screen layout, on the
    // display.
    Box QuadLabel(const std::string& name);
    // A control of the main window on the display.
    Box MainControl(const std::string& name);
    void ClickMain(const std::string& control, int button = 1);

    // The connect dialog filled in and confirmed; waits until the recorder has taken the log-in.
    void Connect(const std::string& password = "1234");
    void Disconnect();
    // A mode tab (btnLocal_m, btnLive_m, btnSer_m); a question on the way is answered Yes.
    void Mode(const std::string& tab);
    // Live view on in the live mode, and the first pictures in all four screens.
    void LiveOn();
    // Waits for the four cameras in their four screens; fails naming `what` otherwise.
    void WaitFourCameras(const std::string& what);

    // The screens' popup menu walked with the keyboard to the item (by its name in the main window's
    // form definition); a submenu's item after its parent.
    void ScreenMenu(std::initializer_list<std::string> path);
    // The setup menu, from the live mode's SETUP button (the recorder's setup files are fetched first).
    Window OpenSetupMenu();
    // A popup menu opened by the right button at the point, walked with the keyboard to the item (by
    // its name in the form definition); a submenu's item after its parent.
    void PopupAt(int x, int y, const FormLayout& form, std::initializer_list<std::string> path);
    // The chooser of files or folders: the path typed into its name field and taken with Enter.
    void Choose(const std::string& caption, const std::string& path);
    // Answers the message box of this caption with the key; false when none came.
    bool Answer(const std::string& caption, const std::string& key = "Return", int ms = 3000);

    // The remote search down to a minute that holds a recording, which then plays. Leaves the minute
    // table's place for a later right-click in `minuteCell`.
    void SearchDownToAMinute();
    // From the search mode: the medium chooser, HDD, ALL, a marked day; the hour table shows. Its window
    // and the first recorded hour cell are returned.
    Window OpenHourTable(Box& hourCell);
    // The same, then that hour; the minute table shows. Its window and the first recorded minute cell
    // are returned.
    Window OpenMinuteTable(Box& minuteCell);

    // A text of the language table the client shows, by its number.
    std::string Text(int id) const;

    // Runs the action and waits until the recorder has received one more command of this number;
    // fails naming the action otherwise.
    void ExpectCommand(int command, const std::function<void()>& action, const std::string& what,
                       int ms = 15000);
    // How many command packets of this number the recorder has received.
    int Commands(int command);
    bool WaitCommand(int command, int atLeast, int ms = 15000);

    // The pictures: do the screens in the box change within `ms`?
    bool Moving(Box area, int ms = 1500);
    bool Still(Box area, int ms = 1200);

private:
    int language_;
};

} // namespace e2e
