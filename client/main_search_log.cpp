// The recorder's log list, asked for from the setup menu: the log database downloaded, read newest
// first into the log list window.
#include "client/main.h"

#include "client/LinkWait.h"
#include "net/WSocket.h"
#include "recdb/Loglist.h"
#include "recdb/QelDbResults.h"
#include "recdb/QelDbSql.h"
#include "recdb/SqliteDb.h"
#include "setup/Menu.h"

namespace {

constexpr DWORD kLogFileLimitMs = 10000;
constexpr DWORD kLogSettleMs = 1000;

void ShowSetupMenuAgain() {
    if (frmMenu == nullptr) return;
    frmMenu->SetEnabled(true);
    frmMenu->Show();
}

} // namespace

void TFrmMain::ShowDeviceLog() {
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59856), 0);
        btnLocal_mClick(this);
        return;
    }
    SetEnabled(false);
    ShowWait();
    MaxCamera = 0;
    const auto fail = [this](const char* prefix, DWORD command) {
        // A way out took the pass meanwhile and closed the menu: it stays closed.
        if (!Activities.Running(TActivity::SetupPass)) return;
        CloseWait();
        ShowSetupMenuAgain();
        AddDebugLine(prefix, command);
    };
    if (SendCommandAndWait(NETCMD_CAMERA_INFO, 0, kReplyLimitMs, 0, TActivity::SetupPass) == 0) {
        fail("TIME OUT:", NETCMD_CAMERA_INFO);
        return;
    }
    if (ReplySlot == 2) {
        fail("FAILED:", NETCMD_CAMERA_INFO);
        return;
    }
    if (ReplySlot == 1) AddDebugLine("SUCCESS:", NETCMD_CAMERA_INFO);

    FileReceived = 0;
    if (SendCommandAndWait(NETCMD_FILE_REQUEST, QELFILE_LOGLIST, kReplyLimitMs, 0, TActivity::SetupPass) ==
        0) {
        fail("TIME OUT:", NETCMD_FILE_REQUEST);
        return;
    }
    if (ReplySlot == 1) {
        AddDebugLine("SUCCESS:", NETCMD_FILE_REQUEST);
    } else if (ReplySlot <= 2) {
        fail("FAILED:", NETCMD_FILE_REQUEST);
        return;
    }
    switch (PumpUntil(
        TActivity::SetupPass, Activities, [this] { return FileReceived != 0; }, kLogFileLimitMs)) {
    case TWaitEnd::Terminated:
    case TWaitEnd::Ended:
        return;
    case TWaitEnd::TimedOut:
        // What the recorder sends next is not the log's.
        AbandonFile();
        CloseWait();
        ShowMessageBox(LoadLangString(59858), LoadLangString(59856), 0);
        ShowSetupMenuAgain();
        FileReceived = 0;
        return;
    case TWaitEnd::Done:
        break;
    }
    frmLoglist->lbLogList->Items()->Clear();
    if (PumpFor(TActivity::SetupPass, Activities, kLogSettleMs) != TWaitEnd::TimedOut) return;
    try {
        sqlite_db db;
        db.open(ProgramFolder + QelFileName(QELFILE_LOGLIST));
        const std::vector<std::string> lines = LogLines(db.query(QelDbSql::LogList()));
        db.close();
        TStrings* items = frmLoglist->lbLogList->Items();
        items->BeginUpdate();
        for (const std::string& line : lines)
            items->Add(line);
        items->EndUpdate();
    } catch (const sqlite_exception& e) {
        // A damaged log leaves the menu usable and says why.
        CloseWait();
        ShowMessageBox(e.what(), LoadLangString(59856), 0);
        ShowSetupMenuAgain();
        return;
    }
    CloseWait();
    frmLoglist->Show();
}
