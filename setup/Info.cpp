#include "setup/Info.h"

TfrmInfo* frmInfo = nullptr;

TfrmInfo::TfrmInfo(TComponent* owner) : TForm(owner) {
    LoadDefinition("Info", Bindings());
}

const TFormBindings& TfrmInfo::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmInfo::Label1)
                                              .AddField("Label2", &TfrmInfo::Label2)
                                              .AddField("Label3", &TfrmInfo::Label3)
                                              .AddField("Label4", &TfrmInfo::Label4)
                                              .AddField("Label5", &TfrmInfo::Label5)
                                              .AddField("Label6", &TfrmInfo::Label6)
                                              .AddField("Label7", &TfrmInfo::Label7)
                                              .AddField("Label8", &TfrmInfo::Label8)
                                              .AddField("Label9", &TfrmInfo::Label9)
                                              .AddField("Label10", &TfrmInfo::Label10)
                                              .AddField("Label11", &TfrmInfo::Label11)
                                              .AddField("Label12", &TfrmInfo::Label12)
                                              .AddField("Label13", &TfrmInfo::Label13)
                                              .AddField("Label14", &TfrmInfo::Label14)
                                              .AddField("btnPrev", &TfrmInfo::btnPrev);
    return bindings;
}
