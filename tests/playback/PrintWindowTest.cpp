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
            return answer;
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

    // The box that tells where the snapshot went, and the question before one is replaced.
    static std::string WrittenTo(const std::string& file) {
        return FrmMain->LoadLangString(60250) + "\n" + file;
    }
    static std::string Replace(const std::string& file) {
        return FrmMain->LoadLangString(60251) + "\n" + file;
    }
    void Save(const std::string& name) {
        form_testing::ScopedFileAnswer chosen(name);
        frmPrint->btnSaveClick(frmPrint->btnSave);
    }

    TImage* source_ = nullptr;
    TModalResult answer = mrOk;
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
    Save(dir.File("a.jpg"));
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
    EXPECT_EQ(boxes, std::vector<std::string>{WrittenTo(dir.File("a_3.jpg"))});
}

TEST_F(PrintWindow, SavingOverAnEarlierSnapshotAsksFirst) {
    testing_support::TempDir dir;
    ShowCamera(3, 352, 1);
    Save(dir.File("a.jpg"));
    const std::string first = testing_support::ReadFileBytes(dir.File("a_3.jpg"));
    // Another picture under the same name: the file it would replace is named, and No keeps it.
    frmPrint->ShowFrame(source_, 3, 352, 1, "Wed Jan 02 08:30:00 2008", "CAMERA 3");
    boxes.clear();
    answer = mrNo;
    Save(dir.File("a.jpg"));
    EXPECT_EQ(boxes, std::vector<std::string>{Replace(dir.File("a_3.jpg"))});
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("a_3.jpg")), first);
    boxes.clear();
    answer = mrYes;
    Save(dir.File("a.jpg"));
    EXPECT_EQ(boxes,
              (std::vector<std::string>{Replace(dir.File("a_3.jpg")), WrittenTo(dir.File("a_3.jpg"))}));
    EXPECT_NE(testing_support::ReadFileBytes(dir.File("a_3.jpg")), first);
    // The name chosen is not the file written: that one is never asked about.
    testing_support::WriteFileBytes(dir.File("b.jpg"), "mine");
    boxes.clear();
    Save(dir.File("b.jpg"));
    EXPECT_EQ(boxes, std::vector<std::string>{WrittenTo(dir.File("b_3.jpg"))});
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("b.jpg")), "mine");
}

TEST_F(PrintWindow, CancelledSaveWritesNothingAndAFailedOneSaysWhy) {
    testing_support::TempDir dir;
    ShowCamera(1, 720, 2);
    Save("");
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    Save(dir.File("gone/b.jpg"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].find(FrmMain->LoadLangString(60250)), std::string::npos) << "a failure is no success";
}

TEST_F(PrintWindow, PrintGoesToThePdfFileAndSaysWhere) {
    testing_support::TempDir dir;
    testing_support::ScopedEnv pdf("HARBEK_PRINT_PDF", dir.File("out.pdf").c_str());
    auto previousPrinter = SetPrinter(std::make_unique<TPrinter>());
    auto previousHook = TPrintDialog::SetExecuteHook([](TPrintDialog&) { return true; });
    ShowCamera(2, 352, 1);
    frmPrint->btnPrintClick(frmPrint->btnPrint);
    EXPECT_EQ(boxes, std::vector<std::string>{WrittenTo(dir.File("out.pdf"))});
    // The file the user named in the dialog.
    TPrintDialog::SetExecuteHook([&](TPrintDialog&) {
        Printer()->SetFileName(dir.File("named.pdf"));
        return true;
    });
    boxes.clear();
    frmPrint->btnPrintClick(frmPrint->btnPrint);
    EXPECT_EQ(boxes, std::vector<std::string>{WrittenTo(dir.File("named.pdf"))});
    EXPECT_GT(fs::file_size(dir.File("named.pdf")), 1000u);
    TPrintDialog::SetExecuteHook([](TPrintDialog&) { return false; });
    boxes.clear();
    fs::remove(dir.File("named.pdf"));
    frmPrint->btnPrintClick(frmPrint->btnPrint);
    TPrintDialog::SetExecuteHook(previousHook);
    SetPrinter(std::move(previousPrinter));
    EXPECT_TRUE(boxes.empty()) << "a cancelled print says nothing";
    EXPECT_FALSE(fs::exists(dir.File("named.pdf")));
    ASSERT_TRUE(fs::exists(dir.File("out.pdf")));
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("out.pdf")).substr(0, 4), "%PDF");
    EXPECT_GT(fs::file_size(dir.File("out.pdf")), 1000u);
}

} // namespace
