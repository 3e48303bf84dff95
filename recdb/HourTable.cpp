#include "recdb/HourTable.h"

#include "recdb/FormCells.h"

TfrmHourTable* frmHourTable = nullptr;

TfrmHourTable::TfrmHourTable(TComponent* owner) : TForm(owner) {
    LoadDefinition("HourTable", Bindings());
    for (int channel = 0; channel < Channels; ++channel)
        for (int hour = 0; hour < Hours; ++hour)
            cells_[static_cast<std::size_t>(channel * Hours + hour)] =
                RequireComponent<TImgFrame>(this, Format("ifm%d_%d", channel + 1, hour + 1));
}

const TFormBindings& TfrmHourTable::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("ifmHour", &TfrmHourTable::ifmHour)
                                              .AddField("Label1", &TfrmHourTable::Label1)
                                              .AddField("Label2", &TfrmHourTable::Label2)
                                              .AddField("Label3", &TfrmHourTable::Label3)
                                              .AddField("Label4", &TfrmHourTable::Label4)
                                              .AddField("lbDateTime", &TfrmHourTable::lbDateTime)
                                              .AddField("lbSTime", &TfrmHourTable::lbSTime)
                                              .AddField("lbStartTime", &TfrmHourTable::lbStartTime)
                                              .AddField("lbETime", &TfrmHourTable::lbETime)
                                              .AddField("lbEndTime", &TfrmHourTable::lbEndTime)
                                              .AddField("btnBackup2", &TfrmHourTable::btnBackup2)
                                              .AddField("btnOk2", &TfrmHourTable::btnOk2)
                                              .AddField("btnBack2", &TfrmHourTable::btnBack2)
                                              .AddField("btnBackup", &TfrmHourTable::btnBackup)
                                              .AddField("btnOk", &TfrmHourTable::btnOk)
                                              .AddField("btnBack", &TfrmHourTable::btnBack)
                                              .AddField("PopupMenu1", &TfrmHourTable::PopupMenu1)
                                              .AddField("SetStartTime", &TfrmHourTable::SetStartTime)
                                              .AddField("SetEndTime", &TfrmHourTable::SetEndTime);
    return bindings;
}
