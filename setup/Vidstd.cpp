#include "setup/Vidstd.h"

TfrmVidstd* frmVidstd = nullptr;

TfrmVidstd::TfrmVidstd(TComponent* owner) : TForm(owner) {
    LoadDefinition("Vidstd", Bindings());
}

const TFormBindings& TfrmVidstd::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmVidstd::Label1)
                                              .AddField("btnNTSC", &TfrmVidstd::btnNTSC)
                                              .AddField("btnPAL", &TfrmVidstd::btnPAL);
    return bindings;
}
