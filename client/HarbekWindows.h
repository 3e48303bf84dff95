// The program's windows: created once, in one order, at start-up, and alive until the program ends.
#pragma once

#include <string>
#include <vector>

// The class names of the windows in creation order; the main window comes first.
const std::vector<std::string>& HarbekWindowOrder();
enum class TWindowStart {
    AllAtOnce,
    // The main window now, each other one at its first use or once the main window has been shown
    // (Application->Run), whichever comes first: the user sees the main window sooner.
    MainFirst,
};
// Creates every window hidden, in that order (the first becomes the application's main window).
void CreateHarbekWindows(TWindowStart start = TWindowStart::AllAtOnce);
// Initialises the application, creates the windows and runs the message loop until the main window
// closes. Exceptions that escape are shown with the application's error display. Returns 0; when
// another copy of the program has the program folder, it is asked to come forward and nothing of the
// folder is touched: 0 when it came, 1 (after a box that says it runs) when it did not answer.
int RunHarbek();
