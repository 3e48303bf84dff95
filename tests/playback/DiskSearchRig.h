// The main window with the windows of a recorder-disk search: the local-search chooser, the search
// options, the calendar, the hour and minute tables, and the setup menu whose camera count they follow.
#pragma once

#include "tests/playback/EngineRig.h"

#include "playback/LocalSearch.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "setup/Menu.h"

#include "platform/vcl/FormTesting.h"

#include <filesystem>
#include <string>

namespace engine_tests {

class DiskSearchRig : public EngineRig {
protected:
    void SetUp() override {
        EngineRig::SetUp();
        Application->CreateForm(frmMenu);
        Application->CreateForm(frmCalendar);
        Application->CreateForm(frmHourTable);
        Application->CreateForm(frmMinTable);
        Application->CreateForm(frmSearch);
        Application->CreateForm(frmLocalSearch);
    }
    void TearDown() override {
        frmLocalSearch = nullptr;
        EngineRig::TearDown();
    }

    // <build>/snapshots/playback/<name>.png
    static void SaveSnapshot(TForm* form, const std::string& name) {
        namespace fs = std::filesystem;
        const fs::path folder = fs::path(SnapshotPath("x")).parent_path().parent_path() / "playback";
        fs::create_directories(folder);
        form_testing::SaveFormSnapshot(form, (folder / (name + ".png")).string());
    }
};

} // namespace engine_tests
