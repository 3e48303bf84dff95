#include "setup/Syslog.h"

TfrmSysLog* frmSysLog = nullptr;

TfrmSysLog::TfrmSysLog(TComponent* owner) : TForm(owner) {
    LoadDefinition("Syslog", Bindings());
}

const TFormBindings& TfrmSysLog::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("ImgFrame1", &TfrmSysLog::ImgFrame1)
                                              .AddField("BtnClose", &TfrmSysLog::BtnClose)
                                              .AddField("lbLog", &TfrmSysLog::lbLog);
    return bindings;
}
