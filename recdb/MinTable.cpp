#include "recdb/MinTable.h"

#include "recdb/FormCells.h"

TfrmMinTable* frmMinTable = nullptr;

TfrmMinTable::TfrmMinTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("MinTable", Bindings());
    for (int channel = 0; channel < Channels; ++channel)
        for (int minute = 0; minute < Minutes; ++minute)
            cells_[static_cast<std::size_t>(channel * Minutes + minute)] =
                RequireComponent<TImgFrame>(this, Format("ifm%d_%d", channel + 1, minute + 1));
}

const TFormBindings& TfrmMinTable::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("ifmMin", &TfrmMinTable::ifmMin)
                                              .AddField("Label1", &TfrmMinTable::Label1)
                                              .AddField("Label2", &TfrmMinTable::Label2)
                                              .AddField("Label3", &TfrmMinTable::Label3)
                                              .AddField("Label4", &TfrmMinTable::Label4)
                                              .AddField("lbDateTime", &TfrmMinTable::lbDateTime)
                                              .AddField("lbSTime", &TfrmMinTable::lbSTime)
                                              .AddField("lbStartTime", &TfrmMinTable::lbStartTime)
                                              .AddField("lbETime", &TfrmMinTable::lbETime)
                                              .AddField("lbEndTime", &TfrmMinTable::lbEndTime)
                                              .AddField("btnBackup2", &TfrmMinTable::btnBackup2)
                                              .AddField("btnOk2", &TfrmMinTable::btnOk2)
                                              .AddField("btnBack2", &TfrmMinTable::btnBack2)
                                              .AddField("btnBackup", &TfrmMinTable::btnBackup)
                                              .AddField("btnOk", &TfrmMinTable::btnOk)
                                              .AddField("btnBack", &TfrmMinTable::btnBack)
                                              .AddField("PopupMenu1", &TfrmMinTable::PopupMenu1)
                                              .AddField("SetStartTime", &TfrmMinTable::SetStartTime)
                                              .AddField("SetEndTime", &TfrmMinTable::SetEndTime);
    return bindings;
}
