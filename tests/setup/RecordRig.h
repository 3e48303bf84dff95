// The recording page and the schedule editor with the client's windows, logged in to a simulated
// recorder when a test wants one: the setup windows they reach created, the setup files written into
// the program folder as the setup button would have stored them, and the page opened as the
// video-standard window opens it.
#pragma once

#include "tests/client/LoginRig.h"
#include "tests/setup/SetupWindows.h"

#include "recdb/Calendar.h"
#include "setup/Menu.h"
#include "setup/Record2.h"
#include "setup/Schedule.h"
#include "setup/TimeTable.h"
#include "setup/Vidstd.h"

#include <string>

namespace setup_test {

// The simulated recorder's own files, as the setup button stores them.
std::string RecorderConfig();
std::string RecorderSchedule();
std::string RecorderHolidays();

class RecordRig : public client_tests::LoginRig {
protected:
    void SetUp() override;

    // The program folder's file.
    std::string Folder(const std::string& name) const { return HomeFile(name); }
    std::string Read(const std::string& name) const;
    void Write(const std::string& name, const std::string& bytes) const;
    // What the setup button leaves: the four files and the copy of config.ini.
    void StoreSetupFiles(const std::string& config);
    // The page for a recorder of this many cameras and frames per second, opened on config.ini's group.
    void OpenPage(int cameras = 4, int maxFrameRate = 30);
    // A user's pick in a list: the index, then the list's change event.
    static void Pick(TComboBox* list, int index);
    // A user's mouse click on a radio.
    static void ClickRadio(TRadioButton* radio);
    static std::string Shown(TComboBox* list);
    // <build>/snapshots/setup/<name>.png
    static std::string Picture(const std::string& name);
};

} // namespace setup_test
