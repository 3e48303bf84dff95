// Pictures of the client's windows under the build folder, for a person to look at.
#include "tests/client/ClientWindowsSupport.h"

#include "formats/SetupIni.h"

#include "platform/core/FileUtils.h"

namespace client_tests {
namespace {

class ClientSnapshots : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
        StartMain();
    }
};

void Snap(TForm* form, const std::string& name) {
    const std::string path = ClientWindows::SnapshotPath(name);
    form_testing::SaveFormSnapshot(form, path);
    EXPECT_GT(FileSize(path), 1000) << path;
}

TEST_F(ClientSnapshots, MainWindowInBothStandards) {
    for (int standard : {kVideoStandardPal, kVideoStandardNtsc}) {
        FrmMain->VideoStandard = standard;
        FrmMain->ApplyVideoStandard(standard);
        form_testing::ProcessEvents();
        const form_testing::TSnapshot picture = form_testing::TakeSnapshot(FrmMain);
        EXPECT_EQ(picture.Width, FrmMain->ClientWidth());
        EXPECT_EQ(picture.Height, FrmMain->ClientHeight());
        // The screen area is dark, the face around it is not black.
        EXPECT_EQ(picture.At(300, 200), clBlack);
        Snap(FrmMain, standard == kVideoStandardPal ? "main_pal" : "main_ntsc");
    }
    FrmMain->MenuItemQuadClick(FrmMain->MenuItemQuad);
    form_testing::ProcessEvents();
    Snap(FrmMain, "main_ntsc_quad");
}

TEST_F(ClientSnapshots, TheOtherWindowsOfTheClient) {
    Snap(FrmLog, "formlog");
    Snap(FrmUpdateStatus, "formupdatestat");
    frmAboutDlg->GetVersionInfo(frmAboutDlg);
    frmAboutDlg->Show();
    Snap(frmAboutDlg, "AboutDlg");
    FrmWait->Show();
    Snap(FrmWait, "Wait");
}

} // namespace
} // namespace client_tests
