// The setup menu: the hub from which the recorder's setup pages are opened, the owner of the one way
// into config.ini that every page uses, and the APPLY and CANCEL of a setup pass.
#pragma once

#include "setup/ConfigAccess.h"
#include "setup/SetupUpload.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <string>

class TfrmMenu : public TForm {
public:
    explicit TfrmMenu(TComponent* owner);

    TButton* btnDevice = nullptr;
    TButton* btnRecord = nullptr;
    TButton* btnSystem = nullptr;
    TButton* btnLoglist = nullptr;
    TButton* btnInfo = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    // Below the client area, out of the user's reach.
    TButton* btnSave = nullptr;
    TButton* btnNetwork = nullptr;

    // The recorder's camera count (1 or 4) and video standard (1 NTSC, 2 PAL, else not reported) from
    // the reply to 107; 0 until known.
    int MaxCamera = 0;
    int VideoStandard = 0;
    std::string ConfigItem111;
    // config.ini of the program folder may not be what the recorder holds: an APPLY sent the file and
    // did not hear it applied. The next setup pass fetches the file again (and clears this).
    bool RefetchConfig = false;

    // Shared with the pages, which keep copies; LoadConfigIni replaces them with fresh objects.
    std::shared_ptr<TIniFile> ConfigIni;
    std::shared_ptr<TStringList> ConfigSections;
    std::shared_ptr<TStringList> ConfigKeys;
    std::shared_ptr<TStringList> ConfigValues;

    // Re-reads config.ini of the program folder into fresh objects.
    void LoadConfigIni();
    // The four objects as one view.
    TConfigAccess Config() const { return {ConfigIni, ConfigSections, ConfigKeys, ConfigValues}; }
    // The value of "1_1_1" in section "config"; "1" when absent.
    std::string ReadConfigItem111();
    // Takes the camera count and standard the main window heard last from the recorder.
    void SyncCameraInfo();

    void FormShow(TObject* sender);
    void btnDeviceClick(TObject* sender);
    void btnRecordClick(TObject* sender);
    void btnNetworkClick(TObject* sender);
    void btnSystemClick(TObject* sender);
    void btnLoglistClick(TObject* sender);
    void btnInfoClick(TObject* sender);
    void btnSaveClick(TObject* sender);
    void btnCancelClick(TObject* sender);
    void btnOkClick(TObject* sender);

private:
    static const TFormBindings& Bindings();
    // The end of APPLY: the clean-up once the recorder applied, else the box and the menu again while the
    // link lasts.
    void FinishApply(TObject* sender, bool applied, TUploadEnd end);
};

extern TFormVar<TfrmMenu> frmMenu;
