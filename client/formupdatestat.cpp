#include "client/formupdatestat.h"

#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "controls/imgframe.h"

TFrmUpdateStatus* FrmUpdateStatus = nullptr;

TFrmUpdateStatus::TFrmUpdateStatus(TComponent* owner) : TForm(owner) {
    LoadDefinition("formupdatestat", Bindings());
}

const TFormBindings& TFrmUpdateStatus::Bindings() {
    static const TFormBindings b = TFormBindings()
                                       .AddField("ImgBackground", &TFrmUpdateStatus::ImgBackground)
                                       .AddField("ImgFrame1", &TFrmUpdateStatus::ImgFrame1)
                                       .AddField("ImgFrame2", &TFrmUpdateStatus::ImgFrame2)
                                       .AddField("ProgressTransfer", &TFrmUpdateStatus::ProgressTransfer)
                                       .AddField("ProgressUpdate", &TFrmUpdateStatus::ProgressUpdate)
                                       .AddField("BtnClose", &TFrmUpdateStatus::BtnClose);
    return b;
}
