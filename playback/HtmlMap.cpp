#include "playback/HtmlMap.h"

TFrmHtmlMap* FrmHtmlMap = nullptr;

TFrmHtmlMap::TFrmHtmlMap(TComponent* owner) : TForm(owner) {
    LoadDefinition("HtmlMap", Bindings());
}

const TFormBindings& TFrmHtmlMap::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("CppWebBrowser", &TFrmHtmlMap::CppWebBrowser)
                                              .AddField("ImageMap32", &TFrmHtmlMap::ImageMap32);
    return bindings;
}
