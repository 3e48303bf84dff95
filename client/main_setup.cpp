// The setup download: the setup button fetches the recorder's setup files into the program folder,
// keeps the received configuration as temp_config.ini and opens the setup menu.
#include "client/main.h"

#include "client/LinkNumbers.h"
#include "client/LinkWait.h"
#include "client/formlog.h"
#include "setup/Menu.h"
#include "setup/Record2.h"
#include "setup/SetupRules.h"
#include "setup/Unapplied.h"

#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysError.h"
#include "platform/core/Threads.h"

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSetupFilesLimitMs = 10000;
constexpr DWORD kSetupStepPauseMs = 100;

struct TSetupFile {
    DWORD kind;
    const char* name;
};

} // namespace

void TFrmMain::BtnSetupClick(TObject* sender) {
    if (Activities.RefusesPresses()) return;
    // The schedule window's copies of an earlier pass (ended by a lost link or the program's end) are
    // no baseline for this one, maybe not even of this recorder.
    for (const char* name :
         {"holiday.ini", "schedule.dat", "info.ini", "temp_holiday.ini", "temp_schedule.dat"})
        DeleteFile(ProgramFolder + name);
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59863), 0);
        CurrentMode = kModeLocal;
        btnLocal_mClick(sender);
        return;
    }
    if (FrmLog == nullptr || FrmLog->GetUserLevel() != 1) {
        ShowMessageBox(LoadLangString(59882), LoadLangString(59863), 0);
        return;
    }
    // One waited command; false when the pass ends here (the wait window closed, the window enabled).
    TActivity serves = TActivity::Link;
    auto command = [this, sender, &serves](DWORD number, DWORD arg0) {
        if (SendCommandAndWait(number, arg0, kReplyLimitMs, 0, serves) == 0 || !Activities.Running(serves)) {
            // The link went or the pass was ended: that road has told the user and given the local look.
            if (LastWaitEnd() != TWaitEnd::TimedOut) return false;
            CloseWait();
            SetEnabled(true);
            CurrentMode = kModeLocal;
            btnLocal_mClick(sender);
            AddDebugLine("TIME OUT:", number);
            return false;
        }
        return true;
    };
    ShowWait();
    SetEnabled(false);
    if (!command(NETCMD_STATUS, 0)) return;
    if (ReplySlot == 2) {
        CloseWait();
        SetEnabled(true);
        AddDebugLine("FAILED:", NETCMD_STATUS);
        return;
    }
    if (ReplySlot == 1) AddDebugLine("SUCCESS:", NETCMD_STATUS);
    if (RecorderStatus >= 2 && RecorderStatus <= 5) {
        static constexpr int kRefusals[] = {59862, 59859, 59861, 59860};
        CloseWait();
        ShowMessageBox(LoadLangString(59868), LoadLangString(kRefusals[RecorderStatus - 2]), 0);
        SetEnabled(true);
        return;
    }

    // From here the download is the pass's: what ends the pass (a lost link, the recorder's end of
    // remote work or its busy status) ends the download, and a download that fails ends the pass.
    Activities.Begin(TActivity::SetupPass);
    serves = TActivity::SetupPass;
    struct TPassUnlessOpened {
        CActivities& record;
        bool opened = false;
        ~TPassUnlessOpened() {
            if (!opened) record.End(TActivity::SetupPass);
        }
    } pass{Activities};

    if (frmMenu != nullptr) frmMenu->MaxCamera = 0;
    MaxCamera = 0;
    if (!command(NETCMD_CAMERA_INFO, 0)) return;
    if (ReplySlot == 2) {
        CloseWait();
        SetEnabled(true);
        AddDebugLine("FAILED:", NETCMD_CAMERA_INFO);
        return;
    }
    if (ReplySlot == 1) AddDebugLine("SUCCESS:", NETCMD_CAMERA_INFO);
    if (frmMenu != nullptr) frmMenu->SyncCameraInfo();
    Sleep(kSetupStepPauseMs);

    // Edits an earlier APPLY did not get through go on top of what the recorder holds now; after such an
    // APPLY the file here may not be the recorder's either.
    const std::string recorder = setup_unapplied::RecorderId(CliSocket->Addr(), CliSocket->Port());
    const bool unapplied = setup_unapplied::Has(ProgramFolder, recorder);
    const bool refetch = frmMenu != nullptr && frmMenu->RefetchConfig;
    // Files that came (or should) but cannot be kept here: the folder and why, and the pass ends.
    const auto unstored = [&](const std::string& why) {
        CloseWait();
        ShowMessageBox(LoadLangString(60502) + "\n" + ProgramFolder + "\n" + why, LoadLangString(59863), 0);
        SetEnabled(true);
        FileReceived = 0;
    };
    std::vector<TSetupFile> requests;
    if (unapplied || refetch || !FileExists(ProgramFolder + "config.ini")) {
        // Gone until the fresh one is whole, so a file that does not come is not taken for it.
        if (!DeleteFile(ProgramFolder + "config.ini") && FileExists(ProgramFolder + "config.ini")) {
            unstored(SysErrorMessage(GetLastError()));
            return;
        }
        if (frmMenu != nullptr) frmMenu->RefetchConfig = false;
        requests.push_back({QELFILE_CONFIG, "config.ini"});
    }
    requests.push_back({QELFILE_SCHEDULE, "schedule.dat"});
    requests.push_back({QELFILE_HOLIDAY, "holiday.ini"});
    requests.push_back({QELFILE_INFO, "info.ini"});
    // Files the recorder accepted to send must come; those it answered with a higher result may.
    std::vector<std::string> required{ProgramFolder + "config.ini"}, optional;
    // A file that cannot be stored may end while a later one is asked for: it still counts.
    FileReceiveFailed = 0;
    for (const TSetupFile& file : requests) {
        FileReceived = 0;
        if (!command(NETCMD_FILE_REQUEST, file.kind)) return;
        if (ReplySlot == 1) {
            AddDebugLine("SUCCESS:", NETCMD_FILE_REQUEST);
            required.push_back(ProgramFolder + file.name);
        } else if (ReplySlot > 2) {
            optional.push_back(ProgramFolder + file.name);
        } else {
            CloseWait();
            SetEnabled(true);
            AddDebugLine("FAILED:", NETCMD_FILE_REQUEST);
            return;
        }
    }

    // A file is stored under its name only once it is whole, so presence means arrival.
    auto present = [](const std::vector<std::string>& paths) {
        for (const std::string& path : paths)
            if (!FileExists(path)) return false;
        return true;
    };
    const TWaitEnd end = PumpUntil(
        TActivity::SetupPass, Activities,
        [&] {
            return (present(required) && present(optional)) || FileReceiveFailed != 0 ||
                   CliSocket->State() != wsConnected;
        },
        kSetupFilesLimitMs);
    if (end == TWaitEnd::Terminated || end == TWaitEnd::Ended) return;
    if (FileReceiveFailed != 0) {
        unstored(FileStoreFailure);
        return;
    }
    // Without the configuration the menu has nothing to edit, and without its copy CANCEL could not
    // restore it.
    if (!present(required)) {
        CloseWait();
        ShowMessageBox(LoadLangString(59858), LoadLangString(59863), 0);
        SetEnabled(true);
        FileReceived = 0;
        return;
    }
    if (!CopyFile(ProgramFolder + "config.ini", ProgramFolder + "temp_config.ini", FALSE)) {
        unstored(SysErrorMessage(GetLastError()));
        return;
    }
    std::optional<setup_unapplied::TReplayed> kept;
    if (unapplied) {
        kept = setup_unapplied::Replay(ProgramFolder, recorder);
        if (!kept) DebugTrace("TFrmMain::BtnSetupClick", "the kept setup edits could not be replayed");
    }
    CloseWait();
    if (frmRecord2 != nullptr) {
        frmRecord2->ClearModified();
        // The schedule files that pass sent are still to be applied.
        if (kept) frmRecord2->Modified = kept->modified;
    }
    pass.opened = true;
    // The pages are about to show the kept edits as if the recorder held them: the user hears it first.
    if (unapplied && !kept)
        ShowMessageBox(LoadLangString(60301), LoadLangString(60302), 0);
    else if (kept && kept->Any())
        ShowMessageBox(LoadLangString(60300), LoadLangString(60302), 0);
    // A link that went while the box was up took the pass with it.
    if (frmMenu != nullptr && Activities.Running(TActivity::SetupPass)) frmMenu->Show();
}

void TFrmMain::FixTempIniSeparators() {
    ReplaceColonsInFile(ProgramFolder + "temp.ini");
}
