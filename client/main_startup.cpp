// The first showing of the main window: language library, settings, audio library, local address and
// working folder; the string loader every window uses.
#include "client/main.h"

#include "client/G726Audio.h"
#include "client/LanguageDll.h"
#include "client/LocalAddress.h"
#include "formats/SetupIni.h"

#include "controls/BmButton.h"
#include "controls/imgframe.h"
#include "setup/Config.h"

#include "platform/core/AppPaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/win/Modules.h"

namespace {

constexpr const char* kAudioLibrary = "g726lib.dll";

} // namespace

void TFrmMain::FormShow(TObject*) {
    // Start-up runs once, not at every later showing of the window.
    if (started_) return;
    started_ = true;

    SetClientWidth(ImgFrame1->Width());
    SetClientHeight(ImgFrame1->Height());
    StoreMainWindowRect();
    LanguageId = GetSystemDefaultLangID();
    ProgramFolder = ::ProgramFolder();
    LanguageCode = LanguageCodeFor(LanguageId);
    CodePage = CodePageFor(LanguageId);
    ApplyLanguageFont(Font(), LanguageId);
    if (!LoadLanguageLibrary()) {
        // untranslated: no table is loaded yet
        ShowMessageBox("Cannot load " + LanguageTableName(LanguageCode), "Error", 0);
        CloseProgram();
        return;
    }

    BtnConnect->SetVisible(true);
    FileReceived = 0;
    CurrentMode = kModeLocal;
    PrepareScreens();
    ShowClock();

    std::string address;
    GetLocalAddress(address);
    frmConfig.WhenCreated([address](TfrmConfig* config) {
        if (config->ebIPAD != nullptr) config->ebIPAD->SetText(address);
    });

    OverlayColor = kOverlayBlue;
    MenuItemCOLORBLUE->SetChecked(true);
    VideoStandard = kVideoStandardPal;
    LoadSetupIni();

    // A library without a decoder object leaves the client without sound, not without its start-up.
    if (!LoadG726() && AudioLibrary == nullptr) {
        // untranslated: long-standing fixed text
        ShowMessageBox(Format("Can't open file \"%s\"", kAudioLibrary), "Error", 0);
        CloseProgram();
        return;
    }
    if (G726Audio != nullptr) G726Audio->Init(static_cast<int>(kG726BlockBytes));

    DeleteFolderTree(ProgramFolder + "Temporary/");
    ApplyLanguageTexts();
}

bool TFrmMain::LoadLanguageLibrary() {
    RegisterLanguageModules();
    const std::string path = LanguageTablePath(LanguageCode);
    if (!FileExists(path)) return false;
    if (LangModule != nullptr) FreeLibrary(LangModule);
    LangModule = LoadLibrary(path.c_str());
    return LangModule != nullptr;
}

std::string TFrmMain::LoadLangString(int id) const {
    const std::shared_ptr<const LanguageTable> table = LanguageModuleTable(LangModule);
    return table ? table->Find(id) : std::string();
}

void TFrmMain::GetLocalAddress(std::string& address) const {
    address = FindLocalAddress();
}

void TFrmMain::ApplyLanguageTexts() {
    const std::pair<TControl*, int> hints[] = {
        {BtnPower, 60000},      {BtnConnect, 59999},     {BtnDisconnect, 59998}, {BtnUpgrade, 59997},
        {BtnDetectUsb, 59996},  {BtnAbout, 59995},       {BtnLoglist, 59994},    {BtnSearch, 59993},
        {btnLocal_m, 59992},    {BtnLive, 59991},        {BtnDislive, 59990},    {BtnSetup, 59989},
        {BtnRemote_rec, 59988}, {BtnRemote_stop, 59987}, {btnLive_m, 59986},     {BtnSer, 59985},
        {BtnDisser, 59984},     {BtnBackup, 59983},      {btnSer_m, 59982},
    };
    for (const auto& [control, id] : hints)
        control->SetHint(LoadLangString(id));

    const std::string camera = LoadLangString(59952);
    TMenuItem* cameras[] = {MenuItemCam1, MenuItemCam2, MenuItemCam3, MenuItemCam4};
    TMenuItem* printCameras[] = {MenuItemPrintCam1, MenuItemPrintCam2, MenuItemPrintCam3, MenuItemPrintCam4};
    for (int i = 0; i < 4; ++i) {
        cameras[i]->SetCaption(camera + Format(" %d", i + 1));
        printCameras[i]->SetCaption(camera + Format(" %d", i + 1));
    }
    const std::pair<TMenuItem*, int> captions[] = {
        {MenuItemQuad, 59826},     {MenuItemPrint, 59825},       {MenuItemGPS, 50498},
        {MenuItemFullMode, 50500}, {MenuItemSkinMode, 50499},    {MenuItemGPSON, 50497},
        {MenuItemGPSOFF, 50496},   {MenuItemTACHOON, 50497},     {MenuItemTACHOOFF, 50496},
        {MenuItemGPSTL, 50495},    {MenuItemGPSTR, 50494},       {MenuItemGPSBL, 50493},
        {MenuItemGPSBR, 50492},    {MenuItemCOLOR, 50400},       {MenuItemCOLORBLUE, 50399},
        {MenuItemCOLORRED, 50398}, {MenuItemCOLORYELLOW, 50397},
    };
    for (const auto& [item, id] : captions)
        item->SetCaption(LoadLangString(id));
}
