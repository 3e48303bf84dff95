#include "recdb/Loglist.h"

#include "client/LanguageDll.h"
#include "client/Placement.h"
#include "client/main.h"
#include "setup/Menu.h"

#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/WinUser.h"

TFormVar<TfrmLoglist> frmLoglist;

namespace {

constexpr char kLogFile[] = "loglist.db";

void ShowSetupMenu() {
    if (frmMenu == nullptr) return;
    frmMenu->SetEnabled(true);
    frmMenu->Show();
}

} // namespace

TfrmLoglist::TfrmLoglist(TComponent* owner) : TForm(owner) {
    LoadDefinition("Loglist", Bindings());
}

const TFormBindings& TfrmLoglist::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("Label1", &TfrmLoglist::Label1)
            .AddField("lbLogList", &TfrmLoglist::lbLogList)
            .AddField("btnSaveAs", &TfrmLoglist::btnSaveAs)
            .AddField("btnExit", &TfrmLoglist::btnExit)
            .AddField("SaveDialog1", &TfrmLoglist::SaveDialog1)
            .AddField("TimerDialogPosition", &TfrmLoglist::TimerDialogPosition)
            .AddMethod("FormShow", &TfrmLoglist::FormShow)
            .AddMethod("FormClose", &TfrmLoglist::FormClose)
            .AddMethod("btnSaveAsClick", &TfrmLoglist::btnSaveAsClick)
            .AddMethod("btnExitClick", &TfrmLoglist::btnExitClick)
            .AddMethod("TimerDialogPositionTimer", &TfrmLoglist::TimerDialogPositionTimer);
    return bindings;
}

void TfrmLoglist::DeleteLogFile() const {
    if (FrmMain != nullptr) DeleteFile(FrmMain->ProgramFolder + kLogFile);
}

void TfrmLoglist::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    if (FrmMain == nullptr) return;
    ApplyLanguageFont(Font(), FrmMain->GetLanguageId());
    SetCaption(FrmMain->LoadLangString(59932));
    Label1->SetCaption(FrmMain->LoadLangString(59932));
    btnSaveAs->SetCaption(FrmMain->LoadLangString(59977));
    btnExit->SetCaption(FrmMain->LoadLangString(59976));
    btnSaveAs->Font()->SetName(Font()->Name());
    btnExit->Font()->SetName(Font()->Name());
}

void TfrmLoglist::FormClose(TObject*, TCloseAction&) {
    DeleteLogFile();
    if (FrmMain != nullptr) FrmMain->SetEnabled(true);
    if (frmMenu != nullptr) frmMenu->SetEnabled(true);
}

std::string TfrmLoglist::SaveTarget(const std::string& chosen) {
    if (ExtractFileExt(chosen).empty()) return Format("%s.%s", chosen.c_str(), "txt");
    return chosen;
}

void TfrmLoglist::btnSaveAsClick(TObject*) {
    SaveDialog1->SetFileName("Loglist.txt");
    // untranslated: the dialog's fixed filter
    SaveDialog1->SetFilter("Text files (*.txt)|*.txt|All Files (*.*)|*.*");
    if (FrmMain != nullptr)
        SaveDialog1->SetInitialDir(FrmMain->ChooserStartFolder(TFrmMain::TChooser::LogList));
    TimerDialogPosition->SetEnabled(true);
    if (!SaveDialog1->Execute()) return;
    const std::string target = SaveTarget(SaveDialog1->FileName());
    if (FrmMain != nullptr)
        FrmMain->RememberChosenFolder(TFrmMain::TChooser::LogList, ExtractFilePath(target));
    try {
        lbLogList->Items()->SaveToFile(target);
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
}

void TfrmLoglist::TimerDialogPositionTimer(TObject*) {
    TimerDialogPosition->SetEnabled(false);
    const HWND dialog = SaveDialog1->Handle();
    TRect bounds{};
    if (dialog == nullptr || !GetWindowRect(dialog, &bounds)) return;
    const TPoint at = CentredPlacement(Left(), Top(), ClientWidth(), ClientHeight(), bounds.Width(),
                                       bounds.Height(), Screen->WorkAreaRect());
    SetWindowPos(dialog, HWND_TOPMOST, at.X, at.Y, 0, 0, SWP_NOSIZE);
}

void TfrmLoglist::CloseSaveDialog() {
    if (SaveDialog1->Handle() != nullptr) SaveDialog1->CloseDialog();
}

void TfrmLoglist::btnExitClick(TObject*) {
    DeleteLogFile();
    ShowSetupMenu();
    Close();
}
