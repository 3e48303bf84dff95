#include "client/AboutDlg.h"

#include "client/Placement.h"
#include "client/VersionInfo.h"
#include "client/main.h"

#include "controls/imgframe.h"

TFormVar<TfrmAboutDlg> frmAboutDlg;

TfrmAboutDlg::TfrmAboutDlg(TComponent* owner) : TForm(owner) {
    LoadDefinition("AboutDlg", Bindings());
}

const TFormBindings& TfrmAboutDlg::Bindings() {
    static const TFormBindings b = TFormBindings()
                                       .AddField("Label1", &TfrmAboutDlg::Label1)
                                       .AddField("Bevel1", &TfrmAboutDlg::Bevel1)
                                       .AddField("Label2", &TfrmAboutDlg::Label2)
                                       .AddField("Label3", &TfrmAboutDlg::Label3)
                                       .AddField("ImgFrame2", &TfrmAboutDlg::ImgFrame2)
                                       .AddField("Button1", &TfrmAboutDlg::Button1)
                                       .AddMethod("FormShow", &TfrmAboutDlg::FormShow)
                                       .AddMethod("Button1Click", &TfrmAboutDlg::Button1Click);
    return b;
}

std::string TfrmAboutDlg::GetVersionInfoString(const std::string& name) const {
    return ReadVersionValue(name);
}

void TfrmAboutDlg::GetVersionInfo(TfrmAboutDlg* form) const {
    if (form == nullptr) return;
    form->Label1->SetCaption(FormatVersionLine(GetVersionInfoString("FileVersion")));
}

void TfrmAboutDlg::FormShow(TObject*) {
    PlaceOnMainWindow(this, Width(), Height());
    if (FrmMain != nullptr) SetCaption(FrmMain->LoadLangString(59967));
}

void TfrmAboutDlg::Button1Click(TObject*) {
    Close();
}
