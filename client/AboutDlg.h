// The about box: the program's version, its title and its web address.
#pragma once

#include "controls/imgframe.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <string>

class TfrmAboutDlg : public TForm {
public:
    explicit TfrmAboutDlg(TComponent* owner);

    TLabel* Label1 = nullptr; // version line
    TBevel* Bevel1 = nullptr;
    TLabel* Label2 = nullptr; // product title
    TLabel* Label3 = nullptr; // web address
    TImgFrame* ImgFrame2 = nullptr;
    TButton* Button1 = nullptr;

    // The named value of the program's version information.
    std::string GetVersionInfoString(const std::string& name) const;
    // Writes the version line into the form's Label1.
    void GetVersionInfo(TfrmAboutDlg* form) const;
    void FormShow(TObject* sender);
    void Button1Click(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmAboutDlg> frmAboutDlg;
