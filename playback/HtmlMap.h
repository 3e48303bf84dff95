// The map window: the vehicle's GPS position on the local map page. The page's browser area is a
// plain panel until the browser control exists; a still picture covers it until the map is first
// re-centred.
#pragma once

#include "bitmap32/Bmp32_Image.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

class TFrmHtmlMap : public TForm {
public:
    explicit TFrmHtmlMap(TComponent* owner);

    TPanel* CppWebBrowser = nullptr;
    TImage32* ImageMap32 = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TFrmHtmlMap* FrmHtmlMap;
