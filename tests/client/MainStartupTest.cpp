// Start-up of the main window: the language library, the settings, the audio library, the working
// folder, and the texts set from the language tables.
#include "tests/client/ClientWindowsSupport.h"

#include "client/HarbekWindows.h"
#include "client/LanguageDll.h"
#include "formats/SetupIni.h"

#include "net/WSocket.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/FontMap.h"
#include "platform/vcl/FormReader.h"

#include <filesystem>

namespace client_tests {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

LanguageTable ShippedTable(const std::string& code) {
    const std::string name = LanguageTableName(code);
    return LanguageTable::Parse(ReadFileBytes(ClientWindows::BuildResources() + "/LANGUAGE/" + name), name);
}

class MainStartup : public ClientWindows {};

TEST_F(MainStartup, AMissingTableShowsTheErrorBoxAndTheProgramEndsCleanly) {
    SetFormResourceRoot(ResourceRootWithoutLanguages());
    fs::create_directories(Home() + "Temporary/kept");
    form_testing::ScopedMessageAnswer answer(mrOk);
    // The whole entry, as the program runs it: windows created, the loop run, 0 returned.
    EXPECT_EQ(RunHarbek(), 0);
    ASSERT_EQ(answer.Asked().size(), 1u);
    EXPECT_EQ(answer.Asked()[0].Caption, "Error");
    EXPECT_EQ(answer.Asked()[0].Text, "Cannot load dlleng.txt");
    EXPECT_TRUE(Application->Terminated());
    // Start-up stopped at once: no settings file, the old working folder untouched.
    EXPECT_FALSE(FileExists(HomeFile("setup.ini")));
    EXPECT_TRUE(fs::exists(Home() + "Temporary/kept"));
}

TEST_F(MainStartup, TheErrorNamesTheTableOfTheLanguage) {
    SetLanguageId("1041");
    SetFormResourceRoot(ResourceRootWithoutLanguages());
    CreateClientWindows();
    form_testing::ScopedMessageAnswer answer(mrOk);
    StartMain();
    ASSERT_EQ(answer.Asked().size(), 1u);
    EXPECT_EQ(answer.Asked()[0].Text, "Cannot load dlljpn.txt");
    EXPECT_EQ(FrmMain->LanguageCode, "jpn");
    EXPECT_EQ(FrmMain->LoadLangString(60000), "");
}

TEST_F(MainStartup, AMissingAudioLibraryStopsStartUpAtOnce) {
    SetAudioLibraryPresent(false);
    fs::create_directories(Home() + "Temporary/kept");
    CreateClientWindows();
    form_testing::ScopedMessageAnswer answer(mrOk);
    StartMain();
    ASSERT_EQ(answer.Asked().size(), 1u);
    EXPECT_EQ(answer.Asked()[0].Caption, "Error");
    EXPECT_EQ(answer.Asked()[0].Text, "Can't open file \"g726lib.dll\"");
    EXPECT_TRUE(Application->Terminated());
    // Neither the working folder nor the texts were touched after the failure.
    EXPECT_TRUE(fs::exists(Home() + "Temporary/kept"));
    EXPECT_EQ(FrmMain->BtnPower->Hint(), "");
}

TEST_F(MainStartup, StartUpLoadsTextsSettingsAndClearsTheWorkingFolder) {
    fs::create_directories(Home() + "Temporary/sub");
    WriteFileBytes(Home() + "Temporary/sub/old.fdx", "x");
    CreateClientWindows();
    form_testing::ScopedMessageAnswer answer(mrOk);
    StartMain();
    EXPECT_TRUE(answer.Asked().empty());
    EXPECT_FALSE(Application->Terminated());
    EXPECT_FALSE(fs::exists(Home() + "Temporary"));
    EXPECT_TRUE(FileExists(HomeFile("setup.ini")));
    EXPECT_EQ(FrmMain->ProgramFolder, Home());
    EXPECT_EQ(FrmMain->LanguageId, 1033);
    EXPECT_EQ(FrmMain->GetLanguageId(), 1033);
    EXPECT_EQ(FrmMain->CurrentMode, kModeLocal);
    EXPECT_TRUE(FrmMain->BtnConnect->Visible());

    const LanguageTable eng = ShippedTable("eng");
    EXPECT_EQ(FrmMain->BtnPower->Hint(), eng.Find(60000));
    EXPECT_EQ(FrmMain->btnSer_m->Hint(), eng.Find(59982));
    EXPECT_EQ(FrmMain->MenuItemCam3->Caption(), eng.Find(59952) + " 3");
    EXPECT_EQ(FrmMain->MenuItemPrintCam4->Caption(), eng.Find(59952) + " 4");
    EXPECT_EQ(FrmMain->MenuItemGPSBR->Caption(), eng.Find(50492));
    EXPECT_EQ(FrmMain->MenuItemTACHOON->Caption(), eng.Find(50497));
    EXPECT_EQ(FrmMain->MenuItemCOLORYELLOW->Caption(), eng.Find(50397));
    // The colour starts blue before the (empty) settings file is read.
    EXPECT_TRUE(FrmMain->MenuItemCOLORBLUE->Checked());
    EXPECT_EQ(FrmMain->OverlayColor, kOverlayBlue);
    EXPECT_EQ(FrmMain->LabelCamera2->Font()->Color(), kOverlayBlue);
    EXPECT_NE(FrmMain->LabelTime->Caption(), "");
}

TEST_F(MainStartup, StartUpRunsOnceNotAtEveryShowing) {
    CreateClientWindows();
    StartMain();
    fs::create_directories(Home() + "Temporary");
    WriteFileBytes(HomeFile("setup.ini"), "[setup]\nstandard=NTSC\n");
    FrmMain->Hide();
    FrmMain->Show();
    EXPECT_TRUE(fs::exists(Home() + "Temporary"));
    EXPECT_EQ(FrmMain->VideoStandard, kVideoStandardPal);
}

TEST_F(MainStartup, TheLanguageIdChoosesTheTable) {
    struct Case {
        const char* id;
        const char* code;
        int codePage;
    };
    const Case cases[] = {
        {"1041", "jpn", 932}, {"1042", "kor", 949}, {"3082", "esp", 1252}, {"2057", "eng", 1252}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        SetLanguageId(c.id);
        Application->Initialize();
        CreateClientWindows();
        StartMain();
        EXPECT_EQ(FrmMain->LanguageCode, c.code);
        EXPECT_EQ(FrmMain->CodePage, c.codePage);
        const LanguageTable table = ShippedTable(c.code);
        EXPECT_EQ(FrmMain->BtnPower->Hint(), table.Find(60000));
        EXPECT_EQ(FrmMain->MenuItemQuad->Caption(), table.Find(59826));
        // The window asks for the language's face and draws with an installed family for it.
        EXPECT_EQ(FrmMain->Font()->Name(), LanguageFontName(std::stoi(c.id)));
        EXPECT_TRUE(FontFamilyInstalled(FrmMain->Font()->MappedName())) << FrmMain->Font()->MappedName();
        form_testing::ResetApplication();
        FrmMain = nullptr;
    }
}

TEST_F(MainStartup, LoadedStringsAreTheCallersToKeep) {
    CreateClientWindows();
    StartMain();
    const std::string first = FrmMain->LoadLangString(60000);
    const std::string second = FrmMain->LoadLangString(59999);
    EXPECT_EQ(first, ShippedTable("eng").Find(60000));
    EXPECT_NE(first, second);
    EXPECT_EQ(FrmMain->LoadLangString(59000), "");
    EXPECT_EQ(FrmMain->LoadLangString(-1), "");
}

TEST_F(MainStartup, SettingsFromTheFileApplyTheirStandardAndColour) {
    WriteFileBytes(HomeFile("setup.ini"),
                   "[setup]\nstandard=NTSC\ncolor=Red\nlatitude=35.5\nlongitude=-120,25\n");
    CreateClientWindows();
    StartMain();
    EXPECT_EQ(FrmMain->VideoStandard, kVideoStandardNtsc);
    EXPECT_TRUE(FrmMain->MenuItemCOLORRED->Checked());
    EXPECT_FALSE(FrmMain->MenuItemCOLORBLUE->Checked());
    EXPECT_EQ(FrmMain->LabelGPSdata4->Font()->Color(), kOverlayRed);
    EXPECT_DOUBLE_EQ(FrmMain->LastLatitude, 35.5);
    EXPECT_DOUBLE_EQ(FrmMain->LastLongitude, -120.25);
    EXPECT_EQ(FrmMain->ClientHeight(), FrmMain->ImgFrame3->Height());
    EXPECT_TRUE(FrmMain->ImgFrame3->Visible());
    EXPECT_FALSE(FrmMain->ImgFrame1->Visible());
    EXPECT_EQ(FrmMain->MMTimerPlayback->Interval(), 33u);
}

TEST_F(MainStartup, CliSocketErrorShowsTheSocketsOwnError) {
    CreateClientWindows();
    StartMain();
    form_testing::ScopedMessageAnswer answer(mrOk);
    // Listening without an address is the socket's own error, reported through its error event.
    FrmMain->CliSocket->Listen();
    ASSERT_EQ(answer.Asked().size(), 1u);
    EXPECT_EQ(FrmMain->CliSocket->LastError(), 10022);
    EXPECT_NE(answer.Asked()[0].Text.find("10022"), std::string::npos) << answer.Asked()[0].Text;
    EXPECT_NE(answer.Asked()[0].Text.find("Invalid argument"), std::string::npos) << answer.Asked()[0].Text;
}

} // namespace
} // namespace client_tests
