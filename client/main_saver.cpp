// The stream saver's window side: a backup stream armed, its frames handed to the saver with the
// download gauge following them, and the end of the backup, however it comes.
#include "client/main.h"

#include "controls/BmGauge.h"
#include "net/WSocket.h"
#include "playback/Backup.h"
#include "playback/download.h"

void TFrmMain::ArmSaver(const std::string& folder, DWORD endTime) {
    Saver.Arm(folder.empty() ? ProgramFolder : folder, endTime, BackupSizeKB);
}

void TFrmMain::SetBackupMode() {
    if (frmBackup != nullptr)
        ArmSaver(frmBackup->GetBackupPath(), frmBackup->GetEndTime());
    else
        ArmSaver(std::string(), 0);
    Activities.Begin(TActivity::Backup);
}

void TFrmMain::EndSearchBackup(const TSaverFailure* cause) {
    Activities.End(TActivity::SearchBackup);
    const bool finished = Saver.Finish(false);
    BtnBackup_on->Hide();
    BtnBackup->SetVisible(true);
    // What stopped the saving is what the user needs to hear, not what closing the file then met.
    if (cause != nullptr)
        ShowSaverFailure(*cause);
    else if (!finished)
        ShowSaverFailure(Saver.Failure());
}

void TFrmMain::SetBackupRange(DWORD lowestSeq, DWORD highestSeq, BackupSpanList spans) {
    Saver.SetRange(lowestSeq, highestSeq, std::move(spans));
}

void TFrmMain::SaveStreamFrame(const CAvReceivedFrame& frame) {
    const CStreamSaver::Outcome outcome = Saver.Save(frame.Copy());
    if (frmDownload != nullptr) {
        frmDownload->ProgressTransfer->SetMaximumLevel(100);
        frmDownload->ProgressTransfer->SetCurrentLevel(Saver.Percent());
    }
    switch (outcome) {
    case CStreamSaver::Outcome::Saved:
        return;
    case CStreamSaver::Outcome::SpanEnded:
        if (CurrentMode == kModeSearch && frmBackup != nullptr) frmBackup->Show();
        FinishBackupFiles(1);
        return;
    case CStreamSaver::Outcome::Failed: {
        // Going on would stream the rest of the span into nothing and then call it complete.
        const TSaverFailure why = Saver.Failure();
        // The search tab's saving ends as its button ends it: the recorder plays on to the screens.
        if (BackupActive()) {
            EndSearchBackup(&why);
            return;
        }
        FinishBackupFiles(0);
        ShowSaverFailure(why);
        return;
    }
    }
}

void TFrmMain::DrainAvStream() {
    // The recorder says the backup is over on the command connection while the last frames may still
    // wait on the A/V connection: they belong to the backup.
    if (avReading_ || AVDataCliSocket->State() != wsConnected) return;
    avReading_ = true;
    while (StreamSaving() && !AVDataCliSocket->Paused()) {
        const int n = AVDataCliSocket->Receive(AvReceiver.ReadBuffer(), AvReadSize);
        if (n <= 0) break;
        AvReceiver.Consume(AvReceiver.ReadBuffer(), n);
        AvReadSize = AvReceiver.ReadSize();
    }
    avReading_ = false;
}

void TFrmMain::FinishBackupFiles(int pad) {
    if (CliSocket->State() == wsConnected) SendNetPacketCommand(NETCMD_SEARCH_STOP, 0);
    CloseBackupFiles(pad);
}

void TFrmMain::ShowSaverFailure(const TSaverFailure& why) {
    // What could not be done in the language's own words, then the folder or file and the system's reason.
    const int text = why.step == TSaverFailure::Step::CreateFolder ? 59883
                     : why.step == TSaverFailure::Step::CreateFile ? 60110
                                                                   : 60111;
    std::string lines = LoadLangString(text);
    for (const std::string* line : {&why.path, &why.detail})
        if (!line->empty()) lines += "\n" + *line;
    ShowMessageBox(lines, LoadLangString(59849), 0);
}

void TFrmMain::CloseBackupFiles(int pad) {
    // The backup window goes back up after its own span only: the search tab's saving never filled it.
    const bool spanBackup = Activities.Running(TActivity::Backup);
    Activities.End(TActivity::SearchBackup);
    Activities.End(TActivity::Backup);
    TBmGauge* const gauge = frmDownload != nullptr ? frmDownload->ProgressTransfer : nullptr;
    const bool finished = Saver.Finish(pad == 1, [gauge](int percent) {
        if (gauge != nullptr) gauge->SetCurrentLevel(percent);
    });
    const TSaverFailure why = finished ? TSaverFailure{} : Saver.Failure();
    if (frmDownload != nullptr) {
        if (pad == 1) gauge->SetCurrentLevel(100);
        frmDownload->ResetProgress();
        frmDownload->Close();
    }
    if (pad == 1) {
        if (finished)
            ShowMessageBox(LoadLangString(51001), LoadLangString(51000), 0);
        else
            ShowSaverFailure(why);
    }
    for (std::string& title : CameraTitles)
        title.clear();
    EmptyScreens();
    if (spanBackup && frmBackup != nullptr) frmBackup->Show();
}
