// The snapshot print window: its layout by video standard and source width, the saved JPEG's name and
// picture, printing into a PDF file, and a save that cannot be written.
#include "tests/client/ClientWindowsSupport.h"

#include "playback/Print.h"

#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Jpeg.h"
#include "platform/vcl/Printers.h"

#include <filesystem>

namespace {

using client_tests::ClientWindows;
namespace fs = std::filesystem;

TEST(SnapshotNames, CameraNumberGoesBeforeTheExtension) {
    struct Case {
        const char* chosen;
        int camera;
        const char* saved;
    };
    const Case cases[] = {{"a.jpg", 3, "a_3.jpg"},
                          {"/tmp/x/shot.jpg", 2, "/tmp/x/shot_2.jpg"},
                          {"/tmp/x.y/shot", 1, "/tmp/x.y/shot_1"},
                          {"shot.jpeg", 4, "shot_4.jpeg"}};
    for (const Case& c : cases)
        EXPECT_EQ(SnapshotFileName(c.chosen, c.camera), c.saved);
}

TEST(SnapshotNames, PrintRectangleScalesFromTheLeftMargin) {
    const TRect r = SnapshotPrintRect(691, 473);
    EXPECT_EQ(r.Left, 20);
    EXPECT_EQ(r.Top, 0);
    EXPECT_EQ(r.Right, 4698);
    EXPECT_EQ(r.Bottom, 3216);
}

class PrintWindow : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
        StartMain();
        Application->CreateForm(frmPrint);
        boxes_ = std::make_unique<form_testing::ScopedModalAnswer>([this](TForm& form) {
            if (auto* box = dynamic_cast<TMessageForm*>(&form)) boxes.push_back(box->MessageText());
            return mrOk;
        });
        // A red picture as a screen shows it.
        source_ = new TImage(FrmMain);
        TBitmap picture;
        picture.SetSize(352, 240);
        picture.Canvas()->Brush()->SetColor(clRed);
        picture.Canvas()->FillRect(TRect{0, 0, 352, 240});
        source_->Picture()->Assign(&picture);
    }
    void TearDown() override {
        boxes_.reset();
        ClientWindows::TearDown();
        frmPrint = nullptr;
    }
    void ShowCamera(int camera, int width, int standard) {
        frmPrint->Show();
        frmPrint->ShowFrame(source_, camera, width, standard, "Tue Jan 01 12:00:00 2008", "CAMERA 3");
    }

    TImage* source_ = nullptr;
    std::vector<std::string> boxes;
    std::unique_ptr<form_testing::ScopedModalAnswer> boxes_;
};

TEST_F(PrintWindow, LayoutFollowsStandardAndWidth) {
    struct Case {
        int width, standard;
        int clientHeight, panelHeight, pictureLeft, pictureWidth, pictureHeight, buttonTop, timeTop;
    };
    const Case cases[] = {{352, 1, 526, 473, -8, 704, 480, 488, 432},
                          {720, 1, 526, 473, -16, 720, 480, 488, 432},
                          {352, 2, 622, 569, -8, 704, 576, 584, 528},
                          {704, 2, 622, 569, -16, 720, 576, 584, 528}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width * 10 + c.standard);
        ShowCamera(3, c.width, c.standard);
        EXPECT_EQ(frmPrint->ClientHeight(), c.clientHeight);
        EXPECT_EQ(frmPrint->ClientWidth(), 689);
        EXPECT_EQ(frmPrint->Panel1->Height(), c.panelHeight);
        TImage* image = frmPrint->FrameImage();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Left(), c.pictureLeft);
        EXPECT_EQ(image->Top(), -6);
        EXPECT_EQ(image->Width(), c.pictureWidth);
        EXPECT_EQ(image->Height(), c.pictureHeight);
        EXPECT_EQ(frmPrint->btnPrint->Top(), c.buttonTop);
        EXPECT_EQ(frmPrint->Label2->Top(), c.timeTop);
        EXPECT_EQ(frmPrint->Label1->Caption(), "CAMERA 3");
        frmPrint->Close();
        EXPECT_EQ(frmPrint->FrameImage(), nullptr);
    }
}

TEST_F(PrintWindow, SaveWritesTheSnapshotUnderTheCameraName) {
    testing_support::TempDir dir;
    ShowCamera(3, 352, 1);
    form_testing::SaveFormSnapshot(frmPrint, SnapshotPath("print_window"));
    {
        form_testing::ScopedFileAnswer answer(dir.File("a.jpg"));
        frmPrint->btnSaveClick(frmPrint->btnSave);
    }
    ASSERT_TRUE(fs::exists(dir.File("a_3.jpg")));
    EXPECT_FALSE(fs::exists(dir.File("a.jpg")));
    TJPEGImage jpeg;
    jpeg.LoadFromFile(dir.File("a_3.jpg"));
    EXPECT_EQ(jpeg.Width(), frmPrint->Panel1->Width());
    EXPECT_EQ(jpeg.Height(), frmPrint->Panel1->Height());
    TBitmap back;
    back.Assign(&jpeg);
    // The picture is red; the texts are white over it.
    const TColor middle = back.Canvas()->Pixels(300, 250);
    EXPECT_GT(middle & 0xFF, 0xC0);
    EXPECT_LT((middle >> 8) & 0xFF, 0x40);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PrintWindow, CancelledSaveWritesNothingAndAFailedOneSaysWhy) {
    testing_support::TempDir dir;
    ShowCamera(1, 720, 2);
    {
        form_testing::ScopedFileAnswer cancel("");
        frmPrint->btnSaveClick(frmPrint->btnSave);
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    {
        form_testing::ScopedFileAnswer answer(dir.File("gone/b.jpg"));
        frmPrint->btnSaveClick(frmPrint->btnSave);
    }
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(PrintWindow, PrintGoesToThePdfFile) {
    testing_support::TempDir dir;
    testing_support::ScopedEnv pdf("HARBEK_PRINT_PDF", dir.File("out.pdf").c_str());
    auto previousPrinter = SetPrinter(std::make_unique<TPrinter>());
    auto previousHook = TPrintDialog::SetExecuteHook([](TPrintDialog&) { return true; });
    ShowCamera(2, 352, 1);
    frmPrint->btnPrintClick(frmPrint->btnPrint);
    TPrintDialog::SetExecuteHook([](TPrintDialog&) { return false; });
    testing_support::TempDir other;
    frmPrint->btnPrintClick(frmPrint->btnPrint);
    TPrintDialog::SetExecuteHook(previousHook);
    SetPrinter(std::move(previousPrinter));
    ASSERT_TRUE(fs::exists(dir.File("out.pdf")));
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("out.pdf")).substr(0, 4), "%PDF");
    EXPECT_GT(fs::file_size(dir.File("out.pdf")), 1000u);
    EXPECT_TRUE(boxes.empty());
}

} // namespace
