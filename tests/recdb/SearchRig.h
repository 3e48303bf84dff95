// The search windows with the main window logged in to a simulated recorder that serves a generated
// store: recordings from 30 December 2007 to 2 January 2008, so that the months cross a year end.
#pragma once

#include "tests/client/LoginRig.h"

#include "playback/Backup.h"
#include "playback/SearchDevice.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/Loglist.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "setup/Menu.h"
#include "tools/recgen/StoreGenerator.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace search_tests {

struct SharedStore {
    testing_support::TempDir dir;
    std::vector<recgen::StoreRecording> recordings;
    SharedStore() {
        recgen::StoreOptions s;
        s.year = 2007;
        s.month = 12;
        s.day = 30;
        s.days = 4;
        s.hours = {9, 13, 17};
        s.secondsPerRecording = 90;
        s.stream.framesPerSecond = 1;
        s.stream.cameras = 4;
        recordings = recgen::GenerateStore(dir.Path().string(), s, recgen::RecorderIdentity{});
    }
    std::string Path() const { return dir.Path().string(); }
};

inline const SharedStore& Store() {
    static SharedStore store;
    return store;
}

class SearchRig : public client_tests::LoginRig {
protected:
    void SetUp() override {
        LoginRig::SetUp();
        Application->CreateForm(frmMenu);
        Application->CreateForm(frmCalendar);
        Application->CreateForm(frmHourTable);
        Application->CreateForm(frmMinTable);
        Application->CreateForm(frmLoglist);
        Application->CreateForm(frmDownload);
        Application->CreateForm(FrmSerDevice);
        Application->CreateForm(frmSearch);
        Application->CreateForm(frmBackup);
    }

    recsim::RecSimOptions StoreOptions(const std::string& store = Store().Path()) {
        recsim::RecSimOptions o = client_tests::QuickSimOptions();
        o.store = store;
        return o;
    }

    recsim::RecSim& LoggedIn(recsim::RecSimOptions options) {
        recsim::RecSim& sim = StartSim(options);
        LogIn(sim);
        EXPECT_TRUE(PumpReal([&] { return FrmMain->LoggedIn == 1; }));
        seen_.clear();
        FrmMain->lbDebug->Items()->Clear();
        return sim;
    }

    // Yes/No boxes get this answer; OK boxes are confirmed.
    void AnswerBoxes(TModalResult answer) {
        whileBoxUp = [answer](TForm& box) { box.SetModalResult(answer); };
    }

    // The search tab entered with Yes.
    void EnterSearchMode() {
        AnswerBoxes(mrYes);
        FrmMain->btnSer_mClick(FrmMain->btnSer_m);
        whileBoxUp = nullptr;
    }

    // Search tab, search button, the hard disk in the chooser: the downloaded database is read.
    void ChooseHardDisk() {
        EnterSearchMode();
        seen_.clear();
        FrmMain->BtnSerClick(FrmMain->BtnSer);
        FrmSerDevice->btnHDD->OnClick(FrmSerDevice->btnHDD);
    }

    bool DebugHas(const std::string& line) const {
        const auto lines = DebugLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // Commands the recorder received after the first `from`, without the acknowledgements of files.
    static std::vector<DWORD> CommandsFrom(recsim::RecSim& sim, std::size_t from) {
        std::vector<DWORD> all = Commands(sim);
        std::vector<DWORD> out;
        for (std::size_t i = std::min(from, all.size()); i < all.size(); ++i)
            if (all[i] != NETCMD_REPLY) out.push_back(all[i]);
        return out;
    }

    // Day cells that show a mark: day -> state.
    static std::vector<std::pair<int, int>> CalendarMarks() {
        std::vector<std::pair<int, int>> marks;
        for (int cell = 1; cell <= TfrmCalendar::DayCells; ++cell) {
            const TColor color = frmCalendar->CellColor(cell);
            if (frmCalendar->DayText(cell).empty() || color == 0) continue;
            marks.emplace_back(std::stoi(frmCalendar->DayText(cell)),
                               color == TfrmCalendar::MarkColor(dmsEvent) ? 2 : 1);
        }
        return marks;
    }
};

} // namespace search_tests
