#include "client/Wait.h"

#include "client/Placement.h"

#include "controls/ImgAnimation.h"
#include "controls/imgframe.h"

TFormVar<TFrmWait> FrmWait;

TFrmWait::TFrmWait(TComponent* owner) : TForm(owner) {
    LoadDefinition("Wait", Bindings());
}

const TFormBindings& TFrmWait::Bindings() {
    static const TFormBindings b = TFormBindings()
                                       .AddField("ImgBackground", &TFrmWait::ImgBackground)
                                       .AddField("ImgAni1", &TFrmWait::ImgAni1)
                                       .AddField("ImgAni2", &TFrmWait::ImgAni2)
                                       .AddMethod("FormShow", &TFrmWait::FormShow);
    return b;
}

void TFrmWait::FormShow(TObject*) {
    SetClientWidth(ImgBackground->Width());
    SetClientHeight(ImgBackground->Height());
    PlaceOnMainWindow(this, ClientWidth(), ClientHeight());
    for (TImgAnimation* animation : {ImgAni1, ImgAni2}) {
        animation->SetCurrentFrame(0);
        animation->SetPlay(true);
    }
}
