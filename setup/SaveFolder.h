// The folder a copy of the recorder's configuration is saved into.
#pragma once

#include <string>

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmSaveFolder : public TForm {
public:
    explicit TfrmSaveFolder(TComponent* owner);

    TLabel* Label1 = nullptr;
    // Read-only: the destination changes by Browse and Create Folder only.
    TEdit* edtPath = nullptr;
    TButton* btnBrowse = nullptr;
    TButton* btnCreateFolder = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    // Below the client area: the paths chosen, for tracing.
    TListBox* ListBox1 = nullptr;

    // The program folder with its trailing separator, the destination, the file and the default name of
    // a new folder.
    std::string ProgramFolderPath;
    std::string DestinationPath;
    std::string FileName = "config.ini";
    std::string DefaultFolderName;

    // The destination becomes the program folder plus the connect dialog's address, created when
    // missing.
    void SaveConfigFile();
    std::string GetPath() const { return DestinationPath; }
    void SetPath(const std::string& path) { DestinationPath = path; }

    void FormShow(TObject* sender);
    void btnBrowseClick(TObject* sender);
    void btnCreateFolderClick(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmSaveFolder> frmSaveFolder;
