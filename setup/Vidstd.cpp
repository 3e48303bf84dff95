#include "setup/Vidstd.h"

#include "setup/Menu.h"
#include "setup/PageSupport.h"
#include "setup/Record2.h"

#include "platform/core/StrUtils.h"

using namespace setup_pages;

TFormVar<TfrmVidstd> frmVidstd;

TfrmVidstd::TfrmVidstd(TComponent* owner) : TForm(owner) {
    LoadDefinition("Vidstd", Bindings());
}

const TFormBindings& TfrmVidstd::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmVidstd::Label1)
                                              .AddField("btnNTSC", &TfrmVidstd::btnNTSC)
                                              .AddField("btnPAL", &TfrmVidstd::btnPAL)
                                              .AddMethod("FormShow", &TfrmVidstd::FormShow)
                                              .AddMethod("btnNTSCClick", &TfrmVidstd::btnNTSCClick)
                                              .AddMethod("btnPALClick", &TfrmVidstd::btnPALClick);
    return bindings;
}

int TfrmVidstd::GroupFromItem111(const std::string& value) {
    int group = 0;
    if (!TryStrToInt(Trim(value), group) || group < 1 || group > 5) return 1;
    return group;
}

void TfrmVidstd::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59888);
    SetLangCaption(Label1, 59887);
}

void TfrmVidstd::btnNTSCClick(TObject*) {
    OpenRecordPage(30);
}

void TfrmVidstd::btnPALClick(TObject*) {
    OpenRecordPage(25);
}

void TfrmVidstd::OpenRecordPage(int maxFrameRate) {
    MaxFrameRate = maxFrameRate;
    CurrentGroup = 1;
    if (frmMenu != nullptr) {
        frmMenu->LoadConfigIni();
        CurrentGroup = GroupFromItem111(frmMenu->ReadConfigItem111());
    }
    if (frmRecord2 != nullptr) {
        frmRecord2->MaxFrameRate = maxFrameRate;
        frmRecord2->SetCurrentGroup(CurrentGroup);
        frmRecord2->FillLists();
        frmRecord2->Show();
    }
    Close();
}
