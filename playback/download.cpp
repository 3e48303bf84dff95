#include "playback/download.h"

TfrmDownload* frmDownload = nullptr;

TfrmDownload::TfrmDownload(TComponent* owner) : TForm(owner) {
    LoadDefinition("download", Bindings());
}

const TFormBindings& TfrmDownload::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("ImgBackground", &TfrmDownload::ImgBackground)
                                              .AddField("ImgFrame2", &TfrmDownload::ImgFrame2)
                                              .AddField("ProgressTransfer", &TfrmDownload::ProgressTransfer)
                                              .AddField("BtnClose", &TfrmDownload::BtnClose);
    return bindings;
}
