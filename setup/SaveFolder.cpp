#include "setup/SaveFolder.h"

#include "client/formlog.h"
#include "setup/CreateFolder.h"
#include "setup/Menu.h"
#include "setup/PageSupport.h"

#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/vcl/Dialogs.h"

using namespace setup_pages;

TFormVar<TfrmSaveFolder> frmSaveFolder;

TfrmSaveFolder::TfrmSaveFolder(TComponent* owner) : TForm(owner) {
    LoadDefinition("SaveFolder", Bindings());
}

const TFormBindings& TfrmSaveFolder::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("Label1", &TfrmSaveFolder::Label1)
            .AddField("edtPath", &TfrmSaveFolder::edtPath)
            .AddField("btnBrowse", &TfrmSaveFolder::btnBrowse)
            .AddField("btnCreateFolder", &TfrmSaveFolder::btnCreateFolder)
            .AddField("btnOk", &TfrmSaveFolder::btnOk)
            .AddField("btnCancel", &TfrmSaveFolder::btnCancel)
            .AddField("ListBox1", &TfrmSaveFolder::ListBox1)
            .AddMethod("FormShow", &TfrmSaveFolder::FormShow)
            .AddMethod("btnBrowseClick", &TfrmSaveFolder::btnBrowseClick)
            .AddMethod("btnCreateFolderClick", &TfrmSaveFolder::btnCreateFolderClick)
            .AddMethod("btnOkClick", &TfrmSaveFolder::btnOkClick)
            .AddMethod("btnCancelClick", &TfrmSaveFolder::btnCancelClick);
    return bindings;
}

void TfrmSaveFolder::SaveConfigFile() {
    ProgramFolderPath = SetupFolder();
    const std::string address = FrmLog != nullptr ? FrmLog->ebIP->Text() : std::string();
    DestinationPath = ExcludeTrailingPathDelimiter(ProgramFolderPath) + "/" + address;
    edtPath->SetText(DestinationPath);
    DefaultFolderName = address;
    ListBox1->Items()->Add(DestinationPath);
    if (!DirectoryExists(DestinationPath) && !CreateDir(DestinationPath))
        SetupBox("Cannot create directory.", Caption(), 0); // untranslated: long-standing fixed text
    FileName = "config.ini";
}

void TfrmSaveFolder::FormShow(TObject*) {
    PreparePage(this);
}

void TfrmSaveFolder::btnBrowseClick(TObject*) {
    std::string folder = DestinationPath;
    if (!SelectDirectory("Select Directory", "", folder)) return; // untranslated: long-standing fixed text
    DestinationPath = folder;
    edtPath->SetText(DestinationPath);
}

void TfrmSaveFolder::btnCreateFolderClick(TObject*) {
    if (frmCreateFolder == nullptr) return;
    SetEnabled(false);
    frmCreateFolder->edtFolder->SetText(DefaultFolderName);
    frmCreateFolder->Show();
}

void TfrmSaveFolder::btnOkClick(TObject*) {
    const std::string source = ProgramFolderPath + FileName;
    const std::string folder = ExcludeTrailingPathDelimiter(DestinationPath);
    const bool copied = FileExists(source) && !folder.empty() && ForceDirectories(folder) &&
                        CopyFile(source, folder + "/" + FileName, FALSE);
    if (!copied) {
        // untranslated: long-standing fixed text
        SetupBox("Error : Original file search faild", Caption(), 0);
        return;
    }
    if (frmMenu != nullptr) frmMenu->SetEnabled(true);
    if (frmCreateFolder != nullptr) frmCreateFolder->edtFolder->SetText("");
    Close();
}

void TfrmSaveFolder::btnCancelClick(TObject*) {
    if (frmMenu != nullptr) frmMenu->SetEnabled(true);
    if (frmCreateFolder != nullptr) frmCreateFolder->edtFolder->SetText("");
    Close();
}
