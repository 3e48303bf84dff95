#include "recdb/Loglist.h"

TfrmLoglist* frmLoglist = nullptr;

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
            .AddField("TimerDialogPosition", &TfrmLoglist::TimerDialogPosition);
    return bindings;
}
