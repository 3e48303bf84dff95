// The about box, the wait window, the connect dialog and the upgrade progress window.
#include "tests/client/ClientWindowsSupport.h"

#include "client/HarbekWindows.h"
#include "client/LocalAddress.h"

namespace client_tests {
namespace {

using form_testing::FindControlByName;

class ClientDialogs : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
        StartMain();
        FrmMain->SetBounds(100, 80, FrmMain->Width(), FrmMain->Height());
        FrmMain->FormActivate(FrmMain);
    }
};

TEST_F(ClientDialogs, TheAboutBoxShowsTheVersionAndItsCaption) {
    EXPECT_EQ(frmAboutDlg->ClientWidth(), 401);
    EXPECT_EQ(frmAboutDlg->ClientHeight(), 254);
    EXPECT_EQ(frmAboutDlg->BorderStyle(), bsSingle);
    EXPECT_EQ(frmAboutDlg->ImgFrame2->Width(), 32);
    EXPECT_EQ(frmAboutDlg->ImgFrame2->Height(), 32);
    EXPECT_TRUE(frmAboutDlg->Label1->Font()->Style().Contains(fsBold));
    form_testing::ScopedModalAnswer answer([](TForm&) { return mrOk; });
    FrmMain->BtnAboutClick(FrmMain->BtnAbout);
    EXPECT_EQ(frmAboutDlg->Label1->Caption(), "Version 2.2.4.B1 (Build 454)");

    frmAboutDlg->Show();
    EXPECT_EQ(frmAboutDlg->Caption(), FrmMain->LoadLangString(59967));
    EXPECT_EQ(frmAboutDlg->Left(), 100 + (FrmMain->ClientWidth() - frmAboutDlg->Width()) / 2);
    EXPECT_EQ(frmAboutDlg->Top(), 80 + (FrmMain->ClientHeight() - frmAboutDlg->Height()) / 2);
    EXPECT_TRUE(frmAboutDlg->Topmost());
    frmAboutDlg->Button1Click(frmAboutDlg->Button1);
    EXPECT_FALSE(frmAboutDlg->Visible());
}

TEST_F(ClientDialogs, TheAboutBoxClosesWithEnterAndEscape) {
    for (const WORD key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key);
        bool closedByKey = false;
        form_testing::RunLater([&] {
            form_testing::PressKey(frmAboutDlg, key);
            closedByKey = frmAboutDlg->ModalResult() != mrNone;
            // Ends the box in any case, so that a key it ignores fails here rather than hangs.
            if (!closedByKey) frmAboutDlg->SetModalResult(mrCancel);
        });
        FrmMain->BtnAboutClick(FrmMain->BtnAbout);
        EXPECT_TRUE(closedByKey);
        EXPECT_FALSE(frmAboutDlg->Visible());
    }
}

TEST_F(ClientDialogs, TheWaitWindowIsBorderlessDisabledAndRestartsItsAnimations) {
    EXPECT_EQ(FrmWait->BorderStyle(), bsNone);
    EXPECT_FALSE(FrmWait->Enabled());
    EXPECT_EQ(FrmWait->ImgAni1->BoundsRect(), Rect(27, 80, 27 + 290, 80 + 14));
    EXPECT_EQ(FrmWait->ImgAni2->BoundsRect(), Rect(29, 129, 29 + 137, 129 + 14));
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        FrmWait->Show();
        EXPECT_EQ(FrmWait->ClientWidth(), 344);
        EXPECT_EQ(FrmWait->ClientHeight(), 121);
        EXPECT_EQ(FrmWait->Left(), 100 + (FrmMain->ClientWidth() - 344) / 2);
        EXPECT_EQ(FrmWait->Top(), 80 + (FrmMain->ClientHeight() - 121) / 2);
        EXPECT_TRUE(FrmWait->Topmost());
        EXPECT_EQ(FrmWait->ImgAni1->CurrentFrame(), 0);
        EXPECT_EQ(FrmWait->ImgAni2->CurrentFrame(), 0);
        EXPECT_TRUE(FrmWait->ImgAni1->Play());
        EXPECT_TRUE(FrmWait->ImgAni2->Play());
        EXPECT_EQ(FrmWait->ImgAni1->TotalFrames(), 8);
        EXPECT_EQ(FrmWait->ImgAni1->Interval(), 250);
        FrmWait->ImgAni1->SetCurrentFrame(5);
        FrmWait->Close();
        EXPECT_FALSE(FrmWait->Visible());
    }
}

TEST_F(ClientDialogs, TheWaitWindowStaysInsideTheWorkAreaNearTheScreensEdge) {
    Screen->SetTestGeometry(Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 740));
    FrmMain->SetBounds(700, 500, FrmMain->Width(), FrmMain->Height());
    FrmMain->FormActivate(FrmMain);
    FrmWait->Show();
    Screen->SetTestGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040));
    EXPECT_EQ(FrmWait->Left() + FrmWait->Width(), 1024);
    EXPECT_EQ(FrmWait->Top() + FrmWait->Height(), 740);
}

TEST_F(ClientDialogs, TheConnectDialogHasItsControls) {
    EXPECT_FALSE(FrmLog->Visible());
    EXPECT_EQ(FrmLog->BorderStyle(), bsNone);
    for (const char* name : {"ImgBackground", "BtnClose", "BtnOk", "BtnAdd", "BtnRemove", "BtnCancel",
                             "ImgListBackground", "ebIP", "ebPort", "lbIPAddress", "LabelIP", "LabelPort",
                             "LabelPassword", "mePassword", "rbtAdmin", "rbtUser", "Button1", "Button2"})
        EXPECT_NO_THROW(FindControlByName(FrmLog, name)) << name;
    EXPECT_EQ(FrmLog->ebPort->Text(), "5000");
    EXPECT_EQ(FrmLog->mePassword->PasswordChar(), '*');
    EXPECT_TRUE(FrmLog->rbtUser->Checked());
    EXPECT_EQ(FrmLog->UserLevel, 2);
    EXPECT_EQ(FrmLog->ClientWidth(), FrmLog->ImgBackground->Width());
    EXPECT_EQ(FrmLog->ClientHeight(), FrmLog->ImgBackground->Height());
    // The list lies inside its frame.
    const TRect frame = FrmLog->ImgListBackground->BoundsRect();
    const TRect list = FrmLog->lbIPAddress->BoundsRect();
    EXPECT_TRUE(list.Left >= frame.Left && list.Right <= frame.Right && list.Top >= frame.Top &&
                list.Bottom <= frame.Bottom);
}

TEST_F(ClientDialogs, TheUpgradeWindowHasItsGauges) {
    EXPECT_FALSE(FrmUpdateStatus->Visible());
    EXPECT_EQ(FrmUpdateStatus->ProgressTransfer->MaximumLevel(), 200);
    EXPECT_EQ(FrmUpdateStatus->ProgressUpdate->MaximumLevel(), 100);
    EXPECT_EQ(FrmUpdateStatus->ClientWidth(), FrmUpdateStatus->ImgBackground->Width());
    for (TControl* c : {static_cast<TControl*>(FrmUpdateStatus->ProgressTransfer),
                        static_cast<TControl*>(FrmUpdateStatus->ProgressUpdate),
                        static_cast<TControl*>(FrmUpdateStatus->BtnClose)})
        EXPECT_LE(c->Left() + c->Width(), FrmUpdateStatus->ClientWidth());
}

// Every window of the program, created by the entry's own list.
class AllWindows : public ClientWindows {};

TEST_F(AllWindows, EveryWindowExistsHiddenInCreationOrderAndStartUpReachesTheConfigWindow) {
    CreateHarbekWindows();
    const std::vector<std::string>& order = HarbekWindowOrder();
    if (Screen->FormCount() < static_cast<int>(order.size()))
        GTEST_SKIP() << "only " << Screen->FormCount() << " of " << order.size()
                     << " window classes are built";
    ASSERT_EQ(Screen->FormCount(), 35);
    for (int i = 0; i < Screen->FormCount(); ++i) {
        EXPECT_EQ(Screen->Forms(i)->ClassName(), order[static_cast<std::size_t>(i)]) << i;
        EXPECT_FALSE(Screen->Forms(i)->Visible()) << order[static_cast<std::size_t>(i)];
    }
    EXPECT_EQ(Application->MainForm(), FrmMain);

    // Start-up writes the local address into the network option window, which exists by then.
    TForm* config = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->ClassName() == "TfrmConfig") config = Screen->Forms(i);
    ASSERT_NE(config, nullptr);
    TControl* address = FindControlByName(config, "ebIPAD");
    address->SetText("1.2.3.4");
    StartMain();
    EXPECT_EQ(address->Text(), FindLocalAddress());
    EXPECT_FALSE(Application->Terminated());
    // After start-up only the main window shows; every other window waits hidden.
    EXPECT_EQ(Screen->FormCount(), 35);
    for (int i = 1; i < Screen->FormCount(); ++i)
        EXPECT_FALSE(Screen->Forms(i)->Visible()) << order[static_cast<std::size_t>(i)];
}

} // namespace
} // namespace client_tests
