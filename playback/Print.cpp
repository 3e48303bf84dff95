#include "playback/Print.h"

TfrmPrint* frmPrint = nullptr;

TfrmPrint::TfrmPrint(TComponent* owner) : TForm(owner) {
    LoadDefinition("Print", Bindings());
}

const TFormBindings& TfrmPrint::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("Panel1", &TfrmPrint::Panel1)
            .AddField("Label1", &TfrmPrint::Label1)
            .AddField("Label2", &TfrmPrint::Label2)
            .AddField("btnSave", &TfrmPrint::btnSave)
            .AddField("btnPrint", &TfrmPrint::btnPrint)
            .AddField("btnClose", &TfrmPrint::btnClose)
            .AddField("SaveDialog1", &TfrmPrint::SaveDialog1)
            .AddField("PrintDialog1", &TfrmPrint::PrintDialog1)
            .AddField("TimerDialogPosition", &TfrmPrint::TimerDialogPosition);
    return bindings;
}
