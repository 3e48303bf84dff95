// The wait window: a borderless animated picture shown while the client waits for the recorder. It is
// disabled, so it never takes input.
#pragma once

#include "controls/ImgAnimation.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"

class TFrmWait : public TForm {
public:
    explicit TFrmWait(TComponent* owner);

    TImgFrame* ImgBackground = nullptr;
    TImgAnimation* ImgAni1 = nullptr;
    TImgAnimation* ImgAni2 = nullptr;

    // Sizes and places the window on the main window and restarts both animations from frame 0.
    void FormShow(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TFrmWait> FrmWait;
