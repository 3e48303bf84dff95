// The recorder's system information.
#pragma once

#include "setup/ConfigAccess.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmInfo : public TForm {
public:
    explicit TfrmInfo(TComponent* owner);

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label13 = nullptr;
    TLabel* Label14 = nullptr;
    TButton* btnPrev = nullptr;

    // info.ini of the program folder, read as the menu reads config.ini.
    TConfigAccess InfoIni;

    void LoadInfoIni();
    // Each key of section "sysinfo" into its label; an absent key leaves the label as it was.
    void ShowSysInfo();

    void FormShow(TObject* sender);
    void btnPrevClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
};

extern TFormVar<TfrmInfo> frmInfo;
