#include "setup/CreateFolder.h"

#include "setup/PageSupport.h"
#include "setup/SaveFolder.h"
#include "setup/SetupRules.h"

#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"

using namespace setup_pages;

TFormVar<TfrmCreateFolder> frmCreateFolder;

TfrmCreateFolder::TfrmCreateFolder(TComponent* owner) : TForm(owner) {
    LoadDefinition("CreateFolder", Bindings());
}

const TFormBindings& TfrmCreateFolder::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("Label1", &TfrmCreateFolder::Label1)
            .AddField("edtFolder", &TfrmCreateFolder::edtFolder)
            .AddField("btnOk", &TfrmCreateFolder::btnOk)
            .AddField("btnCancel", &TfrmCreateFolder::btnCancel)
            .AddMethod("FormShow", &TfrmCreateFolder::FormShow)
            .AddMethod("edtFolderKeyPress", &TfrmCreateFolder::edtFolderKeyPress)
            .AddMethod("edtFolderKeyUp", &TfrmCreateFolder::edtFolderKeyUp)
            .AddMethod("btnOkClick", &TfrmCreateFolder::btnOkClick)
            .AddMethod("btnCancelClick", &TfrmCreateFolder::btnCancelClick);
    return bindings;
}

void TfrmCreateFolder::FormShow(TObject*) {
    PreparePage(this);
}

void TfrmCreateFolder::edtFolderKeyPress(TObject*, char& key) {
    if (!FolderKeyRefused(key)) return;
    // The refused key never reaches the name.
    key = 0;
    InvalidKey = 1;
    SetupBox(FolderKeyMessage(), "Invaild letter", 0); // untranslated: long-standing fixed text
}

void TfrmCreateFolder::edtFolderKeyUp(TObject*, WORD&, TShiftState) {
    InvalidKey = 0;
}

void TfrmCreateFolder::btnOkClick(TObject*) {
    if (frmSaveFolder == nullptr) return;
    const std::string name = edtFolder->Text();
    bool refused = name.empty() || name == "." || name == "..";
    for (const char c : name)
        refused = refused || FolderKeyRefused(c);
    const std::string folder = ExcludeTrailingPathDelimiter(frmSaveFolder->GetPath()) + "/" + name;
    if (refused || !CreateDir(folder))
        SetupBox("Cannot create directory.", Caption(), 0); // untranslated: long-standing fixed text
    else
        frmSaveFolder->SetPath(folder);
    frmSaveFolder->edtPath->SetText(frmSaveFolder->GetPath());
    frmSaveFolder->SetEnabled(true);
    Close();
}

void TfrmCreateFolder::btnCancelClick(TObject*) {
    if (frmSaveFolder != nullptr) frmSaveFolder->SetEnabled(true);
    Close();
}
