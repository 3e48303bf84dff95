#include "setup/System.h"

TfrmSystem* frmSystem = nullptr;

TfrmSystem::TfrmSystem(TComponent* owner) : TForm(owner) {
    LoadDefinition("System", Bindings());
}

const TFormBindings& TfrmSystem::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmSystem::Label1)
                                              .AddField("edtTitle", &TfrmSystem::edtTitle)
                                              .AddField("Label6", &TfrmSystem::Label6)
                                              .AddField("rbtOn", &TfrmSystem::rbtOn)
                                              .AddField("rbtOff", &TfrmSystem::rbtOff)
                                              .AddField("Label4", &TfrmSystem::Label4)
                                              .AddField("Label5", &TfrmSystem::Label5)
                                              .AddField("Label2", &TfrmSystem::Label2)
                                              .AddField("cmbStart_m", &TfrmSystem::cmbStart_m)
                                              .AddField("cmbStart_w", &TfrmSystem::cmbStart_w)
                                              .AddField("cmbStart_d", &TfrmSystem::cmbStart_d)
                                              .AddField("Label3", &TfrmSystem::Label3)
                                              .AddField("cmbEnd_m", &TfrmSystem::cmbEnd_m)
                                              .AddField("cmbEnd_w", &TfrmSystem::cmbEnd_w)
                                              .AddField("cmbEnd_d", &TfrmSystem::cmbEnd_d)
                                              .AddField("btnOk", &TfrmSystem::btnOk)
                                              .AddField("btnCancel", &TfrmSystem::btnCancel);
    return bindings;
}
