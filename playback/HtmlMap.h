// The map window: the vehicle's GPS position on the local map page. The page's browser area is a
// plain panel until the browser control exists.
#pragma once

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

class TFrmHtmlMap : public TForm {
public:
    explicit TFrmHtmlMap(TComponent* owner);

    TPanel* CppWebBrowser = nullptr;

private:
    static const TFormBindings& Bindings();
};

extern TFrmHtmlMap* FrmHtmlMap;
