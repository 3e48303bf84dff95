#include "client/formlog.h"

#include "controls/BmButton.h"
#include "controls/imgframe.h"

TFrmLog* FrmLog = nullptr;

TFrmLog::TFrmLog(TComponent* owner) : TForm(owner) {
    LoadDefinition("formlog", Bindings());
}

const TFormBindings& TFrmLog::Bindings() {
    static const TFormBindings b = TFormBindings()
                                       .AddField("ImgBackground", &TFrmLog::ImgBackground)
                                       .AddField("ImgListBackground", &TFrmLog::ImgListBackground)
                                       .AddField("BtnClose", &TFrmLog::BtnClose)
                                       .AddField("BtnOk", &TFrmLog::BtnOk)
                                       .AddField("BtnAdd", &TFrmLog::BtnAdd)
                                       .AddField("BtnRemove", &TFrmLog::BtnRemove)
                                       .AddField("BtnCancel", &TFrmLog::BtnCancel)
                                       .AddField("LabelIP", &TFrmLog::LabelIP)
                                       .AddField("LabelPort", &TFrmLog::LabelPort)
                                       .AddField("LabelPassword", &TFrmLog::LabelPassword)
                                       .AddField("ebIP", &TFrmLog::ebIP)
                                       .AddField("ebPort", &TFrmLog::ebPort)
                                       .AddField("mePassword", &TFrmLog::mePassword)
                                       .AddField("lbIPAddress", &TFrmLog::lbIPAddress)
                                       .AddField("rbtAdmin", &TFrmLog::rbtAdmin)
                                       .AddField("rbtUser", &TFrmLog::rbtUser)
                                       .AddField("Button1", &TFrmLog::Button1)
                                       .AddField("Button2", &TFrmLog::Button2);
    return b;
}
