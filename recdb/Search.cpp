#include "recdb/Search.h"

TfrmSearch* frmSearch = nullptr;

TfrmSearch::TfrmSearch(TComponent* owner) : TForm(owner) {
    LoadDefinition("Search", Bindings());
}

const TFormBindings& TfrmSearch::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnAll", &TfrmSearch::btnAll)
                                              .AddField("btnEvent", &TfrmSearch::btnEvent)
                                              .AddField("btnChannel", &TfrmSearch::btnChannel)
                                              .AddField("btnCancel", &TfrmSearch::btnCancel);
    return bindings;
}
