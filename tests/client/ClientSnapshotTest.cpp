// Pictures of the client's windows under the build folder, for a person to look at.
#include "tests/client/ClientWindowsSupport.h"

#include "controls/BmGauge.h"
#include "formats/SetupIni.h"

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
    form_testing::SaveFormSnapshot(form, ClientWindows::SnapshotPath(name));
}

// Share of the picture that shows the background skin's own pixel at its place.
double SkinShare(const form_testing::TSnapshot& picture, TImgFrame* skin) {
    TCanvas* canvas = skin->Picture()->Bitmap()->Canvas();
    int same = 0;
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            same += picture.At(x, y) == canvas->Pixels(x, y);
    return static_cast<double>(same) / (picture.Width * picture.Height);
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

TEST_F(ClientSnapshots, TheOtherWindowsShowTheirSkinsAndTexts) {
    frmAboutDlg->GetVersionInfo(frmAboutDlg);
    frmAboutDlg->Show();
    FrmWait->Show();
    FrmUpdateStatus->ProgressTransfer->SetCurrentLevel(FrmUpdateStatus->ProgressTransfer->MaximumLevel() / 2);
    FrmUpdateStatus->ProgressUpdate->SetCurrentLevel(0);
    form_testing::ProcessEvents();
    struct Window {
        TForm* form;
        const char* name;
        TImgFrame* skin;              // the background picture, none for a plain window
        std::vector<TControl*> inked; // controls whose face must show something
    };
    const Window windows[] = {
        {FrmLog,
         "formlog",
         FrmLog->ImgBackground,
         {FrmLog->LabelIP, FrmLog->LabelPort, FrmLog->LabelPassword}},
        {FrmUpdateStatus,
         "formupdatestat",
         FrmUpdateStatus->ImgBackground,
         {FrmUpdateStatus->ProgressTransfer}},
        {frmAboutDlg,
         "AboutDlg",
         nullptr,
         {frmAboutDlg->Label1, frmAboutDlg->Label2, frmAboutDlg->ImgFrame2}},
        {FrmWait, "Wait", FrmWait->ImgBackground, {FrmWait->ImgAni1}},
    };
    for (const Window& w : windows) {
        SCOPED_TRACE(w.name);
        Snap(w.form, w.name);
        const form_testing::TSnapshot picture = form_testing::TakeSnapshot(w.form);
        EXPECT_EQ(picture.Width, w.form->Width());
        EXPECT_EQ(picture.Height, w.form->Height());
        if (w.skin != nullptr) EXPECT_GT(SkinShare(picture, w.skin), 0.4);
        for (TControl* control : w.inked)
            EXPECT_GT(InkIn(picture, w.form, control, 1), 10) << control->Name();
    }
    // An empty gauge shows nothing; half a transfer does.
    const form_testing::TSnapshot progress = form_testing::TakeSnapshot(FrmUpdateStatus);
    EXPECT_GT(InkIn(progress, FrmUpdateStatus, FrmUpdateStatus->ProgressTransfer, 1),
              InkIn(progress, FrmUpdateStatus, FrmUpdateStatus->ProgressUpdate, 1) + 10);
}

} // namespace
} // namespace client_tests
