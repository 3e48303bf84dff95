#include "playback/LocalSearch.h"

TfrmLocalSearch* frmLocalSearch = nullptr;

TfrmLocalSearch::TfrmLocalSearch(TComponent* owner) : TForm(owner) {
    LoadDefinition("LocalSearch", Bindings());
}

const TFormBindings& TfrmLocalSearch::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("btnFile", &TfrmLocalSearch::btnFile)
                                              .AddField("btnCalendar", &TfrmLocalSearch::btnCalendar)
                                              .AddField("btnCancel", &TfrmLocalSearch::btnCancel);
    return bindings;
}
