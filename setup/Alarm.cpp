#include "setup/Alarm.h"

TfrmAlarm* frmAlarm = nullptr;

TfrmAlarm::TfrmAlarm(TComponent* owner) : TForm(owner) {
    LoadDefinition("Alarm", Bindings());
}

const TFormBindings& TfrmAlarm::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("GroupBox1", &TfrmAlarm::GroupBox1)
                                              .AddField("cmbCam", &TfrmAlarm::cmbCam)
                                              .AddField("GroupBox2", &TfrmAlarm::GroupBox2)
                                              .AddField("rbtOpen", &TfrmAlarm::rbtOpen)
                                              .AddField("rbtClose", &TfrmAlarm::rbtClose)
                                              .AddField("btnPrev", &TfrmAlarm::btnPrev)
                                              .AddField("btnCancel", &TfrmAlarm::btnCancel);
    return bindings;
}
