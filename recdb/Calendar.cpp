#include "recdb/Calendar.h"

#include "recdb/FormCells.h"

TfrmCalendar* frmCalendar = nullptr;

TfrmCalendar::TfrmCalendar(TComponent* owner) : TForm(owner) {
    LoadDefinition("Calendar", Bindings());
    dayBoxes_[0] = PaintBox39;
    selectionImages_[0] = ImgFrame39;
    for (int n = 1; n <= DayCells; ++n) {
        dayBoxes_[n] = RequireComponent<TPaintBox>(this, "PaintBox" + IntToStr(n));
        selectionImages_[n] = RequireComponent<TImgFrame>(this, "ImgFrame" + IntToStr(n));
    }
}

const TFormBindings& TfrmCalendar::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("PaintBox39", &TfrmCalendar::PaintBox39)
                                              .AddField("IMFPrevious", &TfrmCalendar::IMFPrevious)
                                              .AddField("IMFNext", &TfrmCalendar::IMFNext)
                                              .AddField("Label1", &TfrmCalendar::Label1)
                                              .AddField("Label2", &TfrmCalendar::Label2)
                                              .AddField("Label3", &TfrmCalendar::Label3)
                                              .AddField("Label4", &TfrmCalendar::Label4)
                                              .AddField("Label5", &TfrmCalendar::Label5)
                                              .AddField("Label6", &TfrmCalendar::Label6)
                                              .AddField("Label7", &TfrmCalendar::Label7)
                                              .AddField("Panel1", &TfrmCalendar::Panel1)
                                              .AddField("ImgFrame39", &TfrmCalendar::ImgFrame39)
                                              .AddField("lbSTime", &TfrmCalendar::lbSTime)
                                              .AddField("lbStartTime", &TfrmCalendar::lbStartTime)
                                              .AddField("lbETime", &TfrmCalendar::lbETime)
                                              .AddField("lbEndTime", &TfrmCalendar::lbEndTime)
                                              .AddField("btnBackup", &TfrmCalendar::btnBackup)
                                              .AddField("btnOk", &TfrmCalendar::btnOk)
                                              .AddField("btnLive", &TfrmCalendar::btnLive)
                                              .AddField("PopupMenu1", &TfrmCalendar::PopupMenu1)
                                              .AddField("SetStartTime", &TfrmCalendar::SetStartTime)
                                              .AddField("SetEndTime", &TfrmCalendar::SetEndTime);
    return bindings;
}
