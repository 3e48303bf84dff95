#include "setup/Info.h"

#include "setup/Menu.h"
#include "setup/PageSupport.h"

#include "platform/core/StrUtils.h"

using namespace setup_pages;

TFormVar<TfrmInfo> frmInfo;

TfrmInfo::TfrmInfo(TComponent* owner) : TForm(owner) {
    LoadDefinition("Info", Bindings());
}

const TFormBindings& TfrmInfo::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmInfo::Label1)
                                              .AddField("Label2", &TfrmInfo::Label2)
                                              .AddField("Label3", &TfrmInfo::Label3)
                                              .AddField("Label4", &TfrmInfo::Label4)
                                              .AddField("Label5", &TfrmInfo::Label5)
                                              .AddField("Label6", &TfrmInfo::Label6)
                                              .AddField("Label7", &TfrmInfo::Label7)
                                              .AddField("Label8", &TfrmInfo::Label8)
                                              .AddField("Label9", &TfrmInfo::Label9)
                                              .AddField("Label10", &TfrmInfo::Label10)
                                              .AddField("Label11", &TfrmInfo::Label11)
                                              .AddField("Label12", &TfrmInfo::Label12)
                                              .AddField("Label13", &TfrmInfo::Label13)
                                              .AddField("Label14", &TfrmInfo::Label14)
                                              .AddField("btnPrev", &TfrmInfo::btnPrev)
                                              .AddMethod("FormShow", &TfrmInfo::FormShow)
                                              .AddMethod("btnPrevClick", &TfrmInfo::btnPrevClick);
    return bindings;
}

void TfrmInfo::LoadInfoIni() {
    InfoIni = LoadConfigAccess(SetupFolder() + "info.ini", "sysinfo");
}

void TfrmInfo::ShowSysInfo() {
    if (!InfoIni.Loaded() || InfoIni.FindSection("sysinfo") < 0) return;
    const struct {
        const char* key;
        TLabel* label;
    } shown[] = {{"version", Label2}, {"systitle", Label4}, {"sysapp", Label6},   {"currentmedia", Label7},
                 {"free", Label8},    {"ipaddr", Label10},  {"macaddr", Label12}, {"micom", Label14}};
    for (const auto& item : shown) {
        const std::optional<std::string> value = InfoIni.Value(item.key);
        if (!value) continue;
        item.label->SetCaption(item.label == Label7 ? UpperCase(*value) : *value);
    }
}

void TfrmInfo::FormShow(TObject*) {
    PreparePage(this);
    SetLangCaption(this, 59937);
    SetLangCaption(Label1, 59936);
    SetLangCaption(Label3, 59935);
    SetLangCaption(Label5, 59934);
    SetLangCaption(Label9, 59933);
    SetLangCaption(btnPrev, 59978);
}

void TfrmInfo::btnPrevClick(TObject*) {
    if (frmMenu != nullptr) {
        frmMenu->SetEnabled(true);
        frmMenu->Show();
    }
    Close();
}
