#include "playback/Backup.h"

TfrmBackup* frmBackup = nullptr;

TfrmBackup::TfrmBackup(TComponent* owner) : TForm(owner) {
    LoadDefinition("Backup", Bindings());
}

const TFormBindings& TfrmBackup::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("lbSTime", &TfrmBackup::lbSTime)
                                              .AddField("lbStartTime", &TfrmBackup::lbStartTime)
                                              .AddField("lbETime", &TfrmBackup::lbETime)
                                              .AddField("lbEndTime", &TfrmBackup::lbEndTime)
                                              .AddField("lbType", &TfrmBackup::lbType)
                                              .AddField("lbBackupLocation", &TfrmBackup::lbBackupLocation)
                                              .AddField("lbBackup", &TfrmBackup::lbBackup)
                                              .AddField("lbSize", &TfrmBackup::lbSize)
                                              .AddField("lbFree", &TfrmBackup::lbFree)
                                              .AddField("lbFreeSize", &TfrmBackup::lbFreeSize)
                                              .AddField("cmbType", &TfrmBackup::cmbType)
                                              .AddField("edtPath", &TfrmBackup::edtPath)
                                              .AddField("btnBrowse", &TfrmBackup::btnBrowse)
                                              .AddField("btnBackupStart", &TfrmBackup::btnBackupStart)
                                              .AddField("btnCancel", &TfrmBackup::btnCancel)
                                              .AddField("lbPath", &TfrmBackup::lbPath)
                                              .AddField("TimerSD", &TfrmBackup::TimerSD);
    return bindings;
}
