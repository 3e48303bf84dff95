// The recorder's log list: the entries of the recorder's own log, newest first, which the user may
// save as a text file.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <string>

class TfrmLoglist : public TForm {
public:
    explicit TfrmLoglist(TComponent* owner);

    TLabel* Label1 = nullptr;
    TListBox* lbLogList = nullptr;
    TButton* btnSaveAs = nullptr;
    TButton* btnExit = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TTimer* TimerDialogPosition = nullptr;

    // Closes a save dialog that is still open.
    void CloseSaveDialog();
    // The file the list is saved to for a name the user chose: ".txt" added when it has no extension.
    static std::string SaveTarget(const std::string& chosen);

    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void btnSaveAsClick(TObject* sender);
    void btnExitClick(TObject* sender);
    void TimerDialogPositionTimer(TObject* sender);

private:
    static const TFormBindings& Bindings();
    void DeleteLogFile() const;
};

extern TFormVar<TfrmLoglist> frmLoglist;
